#pragma once

#include <cstdint>
#include <string>

namespace gui {

// What a PDF job tells about itself; texts are UTF-8.
struct PdfFacts {
  std::string title;
  std::string author;
  std::string creationDate;
  std::int32_t pages = -1;  // -1 when unknown
  bool encrypted = false;   // then title, author and date stay empty
};

// True when the file is a PDF: "%PDF-" within its first 1024 bytes, as PDF readers accept it.
bool IsPdfJob(const std::string& path);
// Reads the document information, the XMP metadata and the page count of a PDF, with little
// memory and a few reads whatever the file's size or content; empty facts when it has none.
PdfFacts ReadPdfFacts(const std::string& path);

}  // namespace gui
