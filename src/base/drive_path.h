// A path in drive form ("D:\GEO\MDT0001.GDF"), the form every path of a run takes, with the
// rule for its trailing "\" kept here alone.
#pragma once

#include "base/codec.h"
#include "base/path_text.h"

namespace ostra {

// The path holds no trailing "\", except a drive's root, which is "X:\" ("X:" alone names it
// too). A folder joins a file name through exactly one "\".
class DrivePath {
 public:
  DrivePath() = default;
  // Drops trailing "\" (all but the one of a drive's root) and turns "X:" into "X:\".
  explicit DrivePath(Text text);

  const Text& AsText() const { return text_; }
  bool Empty() const { return text_.empty(); }
  // "X:\" (or any three-character path ending with "\").
  bool IsRoot() const { return text_.size() == 3 && text_.back() == u'\\'; }

  // The path followed by one "\": what a file name is appended to ("" stays "").
  Text Folder() const;
  // The path of the file or folder `name` in this folder.
  Text Join(TextView name) const;
  DrivePath Child(TextView name) const { return DrivePath(Join(name)); }
  // The folder holding this path; a root is its own parent, a bare name has "" for parent.
  DrivePath Parent() const;
  // The last component: "" for a root.
  Text FileName() const;
  // The components split at "\" ("C:", "DATA", ...): a root has "X:" and "".
  PathComponents Components() const { return SplitPath(text_, u"\\"); }

  friend bool operator==(const DrivePath& a, const DrivePath& b) { return a.text_ == b.text_; }

 private:
  Text text_;
};

}  // namespace ostra
