#pragma once

#include <string>
#include <vector>

// PDFs written byte by byte, for structures no producer at hand writes.
namespace gui::test {

inline std::string Entry(std::size_t offset) {
  std::string digits = std::to_string(offset);
  return std::string(10 - digits.size(), '0') + digits + " 00000 n \n";
}

// A PDF with these objects, numbered from 1, behind a classic cross-reference table.
inline std::string HandMadePdf(const std::vector<std::string>& objects,
                               const std::string& trailer) {
  std::string pdf = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
  std::string table = "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (std::size_t i = 0; i < objects.size(); ++i) {
    table += Entry(pdf.size());
    pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  std::string start = std::to_string(pdf.size());
  return pdf + table + "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " " + trailer +
         " >>\nstartxref\n" + start + "\n%%EOF\n";
}

inline std::string Stream(const std::string& dictionary, const std::string& data) {
  return "<< " + dictionary + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data +
         "\nendstream";
}

}  // namespace gui::test
