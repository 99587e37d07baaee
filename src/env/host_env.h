// The system's own files, on host paths (UTF-8 texts on POSIX, UTF-16 on Windows).
#pragma once

#include <filesystem>
#include <memory>

#include "env/env.h"

namespace ostra {

// A host path as text, and back.
Text HostText(const std::filesystem::path& p);
std::filesystem::path HostPath(const Text& text);

// `argv0` (may be null) helps to find the program's folder where the system cannot tell.
std::unique_ptr<Env> NewHostEnv(const char* argv0);

}  // namespace ostra
