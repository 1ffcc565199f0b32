#pragma once

#include <string>

namespace gui {

// A title that is only a file name with a document's extension ("report.odt", "Q3 plan.docx"),
// as applications send it, without that extension; any other title as it is.
std::string TitleWithoutDocumentExtension(const std::string& title);
// The title when it is not empty, else the job's name (without a document's extension; "(stdin)"
// counts as none), else "Untitled".
std::string TitleOrFallback(const std::string& title);
// The author when it is not empty, else the full name of the user who printed, else the login.
std::string AuthorOrFallback(const std::string& author);

}  // namespace gui
