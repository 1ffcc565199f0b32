#include "production/PdfFile.h"

#include <algorithm>
#include <filesystem>

namespace gui {

namespace {

// The path is UTF-8 on every system.
std::filesystem::path Utf8Path(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

}  // namespace

PdfFile::PdfFile(const std::string& path) {
  try {
    in_.open(Utf8Path(path), std::ios::binary);
    if (!in_) return;
    in_.seekg(0, std::ios::end);
    std::streamoff end = in_.tellg();
    open_ = end >= 0 && static_cast<bool>(in_);
    size_ = open_ ? static_cast<std::uint64_t>(end) : 0;
  } catch (const std::exception&) {
    open_ = false;
  }
}

std::size_t PdfFile::Read(std::uint64_t offset, char* buffer, std::size_t size) {
  if (!open_ || offset >= size_) return 0;
  if (size > size_ - offset) size = static_cast<std::size_t>(size_ - offset);
  in_.clear();
  in_.seekg(static_cast<std::streamoff>(offset));
  in_.read(buffer, static_cast<std::streamsize>(size));
  std::streamsize got = in_.gcount();
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

std::string PdfFile::Read(std::uint64_t offset, std::size_t size) {
  if (offset >= size_) return {};
  std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(size, size_ - offset)), '\0');
  bytes.resize(Read(offset, bytes.data(), size));
  return bytes;
}

}  // namespace gui
