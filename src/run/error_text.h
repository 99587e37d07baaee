// The words for every error that stops a run, as the user reads them.
#pragma once

#include <exception>

#include "base/codec.h"
#include "base/errors.h"

namespace ostra {

// Why a run that was asked to end stopped.
inline constexpr const char16_t* kMsgInterrupted = u"中断の指示を受けたため、変換を中止しました。";

// The message for an error: a file error, a problem of the data, the reference folder or the
// run, or an unexpected one.
Text ErrorMessage(const std::exception& e);

// The platform's description of a classic file error number ("ファイルが見つかりません。" ...).
Text FileErrorDescription(int code);

}  // namespace ostra
