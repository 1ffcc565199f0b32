#pragma once

#include <string>

namespace gui {

// What follows the session id in the names of the files a run makes in the temporary folder;
// "#" stands for the number of a background.
namespace ending {
inline constexpr char kLog[] = "_printer.log";
inline constexpr char kPdf[] = "_printer.pdf";
inline constexpr char kParams[] = "_params.gs";
inline constexpr char kHeader[] = "_header.ps";
inline constexpr char kTrailer[] = "_trailer.ps";
inline constexpr char kPageStart[] = "_pagestart.ps";
inline constexpr char kMergeParams[] = "_me_param.gs";
inline constexpr char kMergeTrailer[] = "_me_trailer.ps";
inline constexpr char kMergedPdf[] = "_merge.pdf";
inline constexpr char kBackgroundForm[] = "_si_#.ps";
inline constexpr char kBackgroundEps[] = "_si_#.eps";
inline constexpr char kBackgroundFullEps[] = "_si_full_#.eps";
inline constexpr char kBackgroundParams[] = "_si_param_#.gs";
}  // namespace ending

// Whether a file in the temporary folder belongs to the session: its job file (the id, a dot and
// an extension) or a file the run makes. Only names the session itself uses count, so a session
// whose id begins with another's leaves that one's files alone.
bool IsSessionFile(const std::string& name, const std::string& sessionId);

}  // namespace gui
