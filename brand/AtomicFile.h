// Replacing a file without ever leaving it half-written: the new content goes to a temporary
// file beside it, is flushed to disk and then renamed over the old name in one step.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

namespace vellora {

// The temporary name used beside target (same folder, so the rename cannot cross devices).
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target);

enum class ReplaceOutcome { Replaced, CreateFailed, WriterFailed, WriteFailed, RenameFailed };

struct ReplaceResult {
  ReplaceOutcome Outcome = ReplaceOutcome::Replaced;
  std::string Message;  // names the file and the cause; empty when replaced
  bool Ok() const { return Outcome == ReplaceOutcome::Replaced; }
};

// Runs writer on a stream to the temporary file. When writer returns false or anything fails,
// the temporary file is removed and target is left exactly as it was.
ReplaceResult ReplaceFileAtomically(const std::filesystem::path& target,
                                    const std::function<bool(std::ostream&)>& writer);

}  // namespace vellora
