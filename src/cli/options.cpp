#include "cli/options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace ostra {

namespace {

constexpr const char* kHelp =
    "使い方: ostraconv-cli [オプション] SOURCE DEST\n"
    "        ostraconv-cli [オプション] --batch LIST\n"
    "        ostraconv-cli [オプション] --scan ROOT --dest-template TEMPLATE\n"
    "        ostraconv-cli [オプション] --retry SUMMARY.csv\n"
    "        ostraconv-cli [オプション] --write-gdf DIR SOURCE [DEST]\n"
    "        ostraconv-cli [オプション] --preview FILE.svg SOURCE\n"
    "\n"
    "岩盤柱状図のデータ SOURCE（MDT で始まる名前のファイル。例: MDT0001.GDF）と、同じフォルダに\n"
    "ある BDT・KDT・NDT・LDT・CDT のファイルを、Ostra が取り込むファイル（CNT.TXT、Titl01.txt、\n"
    "X1.TXT … R41.TXT。Shift-JIS、CR LF）に変換して、フォルダ DEST に書き込みます。\n"
    "SOURCE にはボーリング交換用データの XML ファイル（BED0001.XML など。拡張子 .XML）も\n"
    "指定できます。その内容を同じ形のデータとして読み、同じように変換します（どの要素をどの\n"
    "項目にするかは docs/bed-mapping.md）。\n"
    "\n"
    "パス:\n"
    "  SOURCE、DEST、DIR は、このシステムのパスか、ドライブ形式のパス（D:\\WORK\\B-1）です。\n"
    "  Linux ではドライブを --drive か OSTRACONV_DRIVES で割り当てます（Z: は /）。\n"
    "  CNT.TXT の 1～3 行目は DEST の 2～4 階層目から作られます: D:\\DATA\\P123\\SITE\\B-1 なら\n"
    "  「P123」（先頭の 4 バイト）、「SITE」、「B-1」。階層が足りなければその行は空です。\n"
    "\n"
    "オプション:\n"
    "  --patdat DIR        参照フォルダ PATDAT。省略すると、プログラムと同じフォルダの PATDAT、\n"
    "                      次に各ドライブの \\PATDAT（またはその下のフォルダ）を探します\n"
    "  --drive L=DIR       ドライブ L: をフォルダ DIR に割り当てます（繰り返し指定できます）\n"
    "  -y, --yes           変換先フォルダがないとき、確認せずに作成します\n"
    "  --dry-run           試行変換: "
    "書き込みをすべてメモリー上で行い、実際のファイルは変更せずに、\n"
    "                      書き込まれるファイルと参照フォルダに加わる行を表示します\n"
    "  --report-json FILE  変換の記録を JSON で FILE に書きます（- なら標準出力）。\n"
    "                      形式は /usr/share/doc/ostraconv-cli/docs/report-json.md\n"
    "                      （Windows の zip では docs\\report-json.md）\n"
    "  --preview FILE.svg  データ SOURCE の柱状図を SVG の図に描きます（縮尺 1:100、1 枚の長い\n"
    "                      図）。DEST がなければ変換せずに描き、DEST があれば変換の後に描きます。\n"
    "                      変換が途中で止まったときは、そのことを図の表題欄に書きます\n"
    "  --scale N           --preview の図を縮尺 1:N で描きます（50、200、500 など）\n"
    "  --batch LIST        LIST の各行の SOURCE,DEST を順に変換します（CSV。見出し行と # で\n"
    "                      始まる行は読み飛ばします。UTF-8 か Shift-JIS）。LIST が - なら\n"
    "                      標準入力から読みます。一覧の中の相対パスは、一覧のファイルのある\n"
    "                      フォルダから（標準入力なら今のフォルダから）たどります\n"
    "  --scan ROOT         フォルダ ROOT の下（下のフォルダ全部）にあるデータ（MDT*.GDF と\n"
    "                      BED*.XML。納品の BORING\\DATA フォルダの中も）を全部変換します。\n"
    "                      変換先は --dest-template で決めます。--dry-run なら、どれをどこへ\n"
    "                      変換するかを試行して表示します\n"
    "  --dest-template T   --scan の変換先の形。{project}（事業・工事名）、{site}（調査名）、\n"
    "                      {boring}（孔名）がデータの表題の項目に置き換わります\n"
    "                      （例: 'D:\\OSTRA\\{project}\\{site}\\{boring}'）。データにない項目は\n"
    "                      フォルダの名前から取ります: {boring} はデータのあるフォルダ\n"
    "                      （他のデータもあるフォルダか DATA フォルダならファイル名）、\n"
    "                      {site} はその上、{project} はさらに上のフォルダ（BORING と\n"
    "                      DATA は飛ばします）。そのことは結果の表に書きます。フォルダ名に\n"
    "                      使えない文字と空白は _ になります\n"
    "  --summary FILE.csv  一括変換の結果の表（行、変換元、変換先、結果、理由、警告と、書いた\n"
    "                      ファイルと加えた名前の数）を CSV で FILE.csv に書きます（Shift-JIS。\n"
    "                      --utf8 か、Shift-JIS にない文字があれば BOM 付きの UTF-8）。\n"
    "                      - なら標準出力に書き、表示は標準エラー出力に回します\n"
    "  --retry FILE.csv    --summary で書いた表の、変換済みでない行（中止、未実行、試行）だけを\n"
    "                      変換し直します。--summary の表には元の表の他の行も書きます\n"
    "  --keep-going        一括変換（--batch、--scan、--retry）で、中止された変換があっても\n"
    "                      次の変換へ進みます\n"
    "  -q, --quiet         完了の行、警告とエラーだけを表示します（一括変換の警告とエラーは、\n"
    "                      一覧の行か見つけたファイルと変換先を添えて表示します）\n"
    "  --verbose           参照フォルダ、PATADD.txt の場所など、変換の詳しい経過も表示します\n"
    "  --encoding ENC      データのファイルの文字コード: cp932（Shift-JIS）か utf-8。省略すると、\n"
    "                      データのファイル全部の内容から一つに決めます\n"
    "  --write-gdf DIR     XML ファイル SOURCE から読んだデータを、6 つのファイル（MDT0001.GDF\n"
    "                      … CDT0001.GDF。Shift-JIS、CR LF）としてフォルダ DIR に書き出します\n"
    "                      （DIR がなければ作成。内容のない区分のファイルは書きません）。DEST も\n"
    "                      指定すると、続けて DEST へ変換します。DIR に同じ名前のファイルが\n"
    "                      あるときは、書き換えてよいか確認します（-y なら確認しません）\n"
    "  --utf8              出力をリダイレクトしたときも UTF-8 で書きます（Windows。既定は\n"
    "                      コンソールのコードページ）\n"
    "  -V, --version       版とビルドしたコミットを表示します\n"
    "  -h, --help          この説明を表示します\n"
    "\n"
    "参照フォルダ PATDAT:\n"
    "  コード表（L1.TXT … L17.TXT）と地質名辞書（KISHITU.TXT、XKISHITU.TXT）を読みます。\n"
    "  初めて出てきた地質名は XKISHITU.TXT と KISHITU.TXT に、初めての区分名は L13.TXT～\n"
    "  L17.TXT に、新しいコードで登録されます。変換すると PATDAT に行が加わります。\n"
    "  変換中は PATDAT の OSTRACONV.LCK をロックします。他の変換がロックしているときは、\n"
    "  終わるまで待ちます（OSTRACONV_LOCK_WAIT 秒まで。既定 120 秒）。\n"
    "  辞書に登録したときは、プログラムと同じフォルダに空のファイル PATADD.txt を作ります\n"
    "  （辞書が増えたことの印です。プログラムのフォルダに書き込めないとき（インストールした\n"
    "  プログラムなど）は作らずに変換を続け、そのことは変換の記録と --verbose で示します）。\n"
    "\n"
    "環境変数:\n"
    "  OSTRACONV_DRIVES     ドライブの割り当て（例: \"C=/home/me/geo;D=/mnt/usb\"）\n"
    "  OSTRACONV_LOCK_WAIT  他の変換を待つ最長の秒数（既定 120）\n"
    "\n"
    "終了コード:\n"
    "  0  変換が正常に終了（一括変換では全部）\n"
    "  1  データか参照フォルダの問題で変換を中止（理由は標準エラー出力）\n"
    "  2  使い方の誤り\n"
    "  3  他の変換が参照フォルダをロックしていて、待つ時間内にロックできなかった\n"
    "  4  指定された変換の記録（--report-json）か結果の表（--summary）を書けなかった\n"
    "     （中止された変換があっても 4）\n"
    "  標準出力に書けないときはエラーです。出力を読む側が先に終わったとき（| head など）は\n"
    "  何も表示せずに終わります。\n"
    "\n"
    "例:\n"
    "  ostraconv-cli --drive D=/srv/geo 'D:\\DATA\\MDT0001.GDF' 'D:\\OSTRA\\P123\\SITE\\B-1'\n"
    "  ostraconv-cli --scan /srv/geo/delivery --dest-template "
    "'D:\\OSTRA\\{project}\\{site}\\{boring}' \\\n"
    "                --drive D=/srv/geo --summary result.csv\n"
    "  ostraconv-cli --drive D=/srv/geo --retry result.csv --summary result.csv\n";

// The long options, for the nearest one to an unknown option.
constexpr const char* kLongOptions[] = {
    "--patdat",  "--drive",    "--yes",       "--dry-run",    "--report-json",
    "--preview", "--scale",    "--batch",     "--scan",       "--dest-template",
    "--summary", "--retry",    "--verbose",   "--keep-going", "--quiet",
    "--utf8",    "--encoding", "--write-gdf", "--version",    "--help"};

size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// "不明なオプション --bogus", with the known option nearest to it when one is near.
std::string UnknownOption(const std::string& given) {
  const std::string name = given.substr(0, given.find('='));
  std::string line = "不明なオプション " + name;
  const std::string dashed = name.rfind("--", 0) == 0 ? name : "-" + name;
  const char* nearest = nullptr;
  size_t best = std::string::npos;
  for (const char* known : kLongOptions) {
    const size_t d = EditDistance(dashed, known);
    if (d < best) {
      best = d;
      nearest = known;
    }
  }
  if (nearest != nullptr && best <= std::max<size_t>(2, dashed.size() / 3))
    line += std::string("（") + nearest + " のことですか）";
  return line;
}

// A CLI11 error in one Japanese line.
std::string ErrorLine(const CLI::ParseError& e) {
  const std::string what = e.what();
  if (dynamic_cast<const CLI::ExtrasError*>(&e) != nullptr)
    return "余分な引数があります（" + what.substr(what.find(':') + 1) + " ）";
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) != nullptr)
    return "オプション " + what.substr(0, what.find(':')) + " には値が必要です";
  return "コマンドラインを読めません（" + what + "）";
}

// The value of --scale: a number from 1 to 100000; none when it is not.
std::optional<double> ScaleValue(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos)
    return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !(value >= 1 && value <= 100000)) return std::nullopt;
  return value;
}

// What is wrong with the values of --scale and --encoding; empty when nothing.
std::string ValueProblem(CliOptions& o, const std::string& scale) {
  if (!scale.empty()) {
    const std::optional<double> value = ScaleValue(scale);
    if (!value) {
      return "--scale の値「" + scale + "」が正しくありません（1 から 100000 までの数。例: 200）";
    }
    if (o.preview.empty()) return "--scale は --preview と一緒に使います";
    o.scale = *value;
  }
  if (!o.encoding.empty()) {
    std::string lower = o.encoding;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower != "cp932" && lower != "utf-8")
      return "--encoding の値「" + o.encoding + "」が正しくありません（cp932 か utf-8）";
    o.encoding = lower;
  }
  std::vector<std::string> toStdout;
  for (const auto& [value, name] :
       {std::pair{&o.preview, "--preview -"}, std::pair{&o.reportJson, "--report-json -"},
        std::pair{&o.summary, "--summary -"}}) {
    if (*value == "-") toStdout.push_back(name);
  }
  if (toStdout.size() > 1) {
    return toStdout[0] + " と " + toStdout[1] +
           " は一緒に使えません（標準出力に書けるのは一つです）";
  }
  return std::string();
}

// What is wrong with the arguments of --write-gdf DIR SOURCE [DEST]; empty when nothing.
std::string WriteGdfProblem(const CliOptions& o) {
  if (IsBatch(o)) return "--write-gdf は --batch、--scan、--retry と一緒には使えません";
  if (o.dryRun) return "--write-gdf は --dry-run と一緒には使えません";
  if (o.paths.empty()) return "SOURCE を指定してください";
  if (o.paths.size() > 2)
    return "引数が多すぎます（SOURCE と DEST の 2 つです。3 つ目: " + o.paths[2] + "）";
  if (o.paths.size() == 1 && (!o.preview.empty() || !o.reportJson.empty()))
    return "--preview と --report-json は、変換するとき（DEST を指定したとき）に使います";
  return std::string();
}

// What is wrong with the options of a batch (--batch, --scan or --retry); empty when nothing.
std::string BatchProblem(const CliOptions& o) {
  const int modes = !o.batch.empty() + !o.scan.empty() + !o.retry.empty();
  if (modes > 1) return "--batch、--scan、--retry は一つだけ指定します";
  if (!o.paths.empty()) {
    return "一括変換（--batch、--scan、--retry）のときは SOURCE と DEST を指定しません";
  }
  if (!o.scan.empty() && o.destTemplate.empty()) {
    return "--scan には変換先の形 --dest-template が必要です（例: "
           "--dest-template 'D:\\OSTRA\\{project}\\{site}\\{boring}'）";
  }
  if (o.scan.empty() && !o.destTemplate.empty())
    return "--dest-template は --scan と一緒に使います";
  if (!o.preview.empty()) return "--preview は一括変換（--batch、--scan、--retry）には使えません";
  return std::string();
}

}  // namespace

bool IsBatch(const CliOptions& o) {
  return !o.batch.empty() || !o.scan.empty() || !o.retry.empty();
}

std::string HelpText() {
  return kHelp;
}

int UsageError(const Terminal& terminal, const std::string& what) {
  terminal.Write(stderr, "ostraconv-cli: " + what + "\n詳しくは --help\n");
  return 2;
}

bool AsksForUtf8(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--") return false;
    if (a == "--utf8") return true;
  }
  return false;
}

ParsedCommandLine ParseCommandLine(int argc, char** argv, const Terminal& terminal) {
  CliOptions o;
  CLI::App app("ostraconv-cli", "ostraconv-cli");
  app.set_help_flag();
  bool help = false;
  bool version = false;
  app.add_flag("-h,--help", help);
  app.add_flag("-V,--version", version);
  app.add_option("--patdat", o.patdat);
  app.add_option("--drive", o.drives)->allow_extra_args(false);
  app.add_flag("-y,--yes", o.yes);
  app.add_flag("--dry-run", o.dryRun);
  app.add_option("--report-json", o.reportJson);
  app.add_option("--preview", o.preview);
  std::string scale;
  app.add_option("--scale", scale);
  app.add_option("--batch", o.batch);
  app.add_option("--scan", o.scan);
  app.add_option("--dest-template", o.destTemplate);
  app.add_option("--summary", o.summary);
  app.add_option("--retry", o.retry);
  app.add_flag("--verbose", o.verbose);
  app.add_flag("--keep-going", o.keepGoing);
  app.add_flag("-q,--quiet", o.quiet);
  app.add_flag("--utf8", o.utf8);
  app.add_option("--encoding", o.encoding);
  app.add_option("--write-gdf", o.writeGdf);
  app.add_option("paths", o.paths);
  app.allow_windows_style_options(false);
  app.positionals_at_end(false);
  app.allow_extras(true);
  // A single value given twice: the last one counts, as in most programs.
  for (const char* name : {"--patdat", "--report-json", "--preview", "--scale", "--batch", "--scan",
                           "--dest-template", "--summary", "--retry", "--encoding", "--write-gdf"})
    app.get_option(name)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

  ParsedCommandLine parsed;
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    parsed.exitCode = UsageError(terminal, ErrorLine(e));
    return parsed;
  }
  // What the parser kept aside: unknown options (the end of the options "--" is none).
  std::vector<std::string> extras = app.remaining();
  extras.erase(std::remove(extras.begin(), extras.end(), "--"), extras.end());
  for (const std::string& extra : extras) {
    if (extra.size() > 1 && extra[0] == '-') {
      parsed.exitCode = UsageError(terminal, UnknownOption(extra));
      return parsed;
    }
  }
  if (!extras.empty()) {
    parsed.exitCode = UsageError(terminal, "余分な引数があります（" + extras[0] + "）");
    return parsed;
  }
  if (help) {
    terminal.Write(stdout, kHelp);
    return parsed;
  }
  if (version) {
    terminal.Write(stdout,
                   std::string("ostraconv-cli ") + OSTRA_VERSION + " (" + OSTRA_COMMIT + ")\n");
    return parsed;
  }
  if (const std::string problem = ValueProblem(o, scale); !problem.empty()) {
    parsed.exitCode = UsageError(terminal, problem);
    return parsed;
  }
  if (!o.writeGdf.empty()) {
    if (const std::string problem = WriteGdfProblem(o); !problem.empty()) {
      parsed.exitCode = UsageError(terminal, problem);
      return parsed;
    }
  } else if (IsBatch(o)) {
    if (const std::string problem = BatchProblem(o); !problem.empty()) {
      parsed.exitCode = UsageError(terminal, problem);
      return parsed;
    }
  } else if (o.paths.size() == 1 && !o.preview.empty()) {
    // The picture of a data set alone: nothing is converted.
    if (o.dryRun || !o.reportJson.empty()) {
      parsed.exitCode = UsageError(
          terminal, "--dry-run と --report-json は、変換するとき（DEST を指定したとき）に使います");
      return parsed;
    }
  } else if (o.paths.size() < 2) {
    parsed.exitCode = UsageError(terminal, o.paths.empty() ? "SOURCE と DEST を指定してください"
                                                           : "DEST を指定してください");
    return parsed;
  } else if (o.paths.size() > 2) {
    parsed.exitCode = UsageError(
        terminal, "引数が多すぎます（SOURCE と DEST の 2 つです。3 つ目: " + o.paths[2] + "）");
    return parsed;
  }
  if (!IsBatch(o)) {
    for (const auto& [given, name] :
         {std::pair{o.keepGoing, "--keep-going"}, std::pair{!o.summary.empty(), "--summary"},
          std::pair{!o.destTemplate.empty(), "--dest-template"}}) {
      if (given) {
        parsed.exitCode =
            UsageError(terminal, std::string(name) +
                                     " は一括変換（--batch、--scan、--retry）と一緒に使います");
        return parsed;
      }
    }
  }
  parsed.options = o;
  return parsed;
}

}  // namespace ostra
