#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gui::platform {

constexpr char kPathSeparator = '/';

struct FileStatus {
  bool exists = false;
  bool isFolder = false;
  bool isRegular = false;
  bool isLink = false;
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // seconds since the epoch
};

struct FolderEntry {
  std::string name;
  bool isFolder = false;
  bool isRegular = false;
  std::int64_t modified = 0;
};

// Answers about the file system; these never throw.
FileStatus StatusOf(const std::string& path);
FileStatus LinkStatusOf(const std::string& path);
// A text that stays the same only while the file (links followed) is neither replaced nor
// written to; "" when there is no such file.
std::string FileIdentity(const std::string& path);
// Entries of a folder whose names match a wildcard pattern ("*", "?"; "*.*" matches every name).
std::vector<FolderEntry> FindEntries(const std::string& folder, const std::string& pattern);
bool HasWildcards(const std::string& name);
// Makes the folder, for its owner only, when it is missing; then why it cannot hold the user's
// private files, in the system's words: "" when it is no link, belongs to the current user and
// only the owner may write it.
std::string MakePrivateFolder(const std::string& path);
// Bytes the user may still write on the file system that holds the path; the largest number
// when that cannot be told.
std::uint64_t FreeSpaceOf(const std::string& path);
// Whether a file of that name may be made in the folder: the file system's longest name, or
// the usual one when the folder cannot be asked.
bool NameFits(const std::string& folder, const std::string& name);
// True when the file (links followed) exists and its permissions keep the user from writing it.
bool IsReadOnly(const std::string& path);
// The roots of the system's drives ("/" on POSIX, "C:\\" and the like on Windows).
std::vector<std::string> DriveRoots();

// Operations that change the file system; these throw Error with the runtime's number.
std::vector<unsigned char> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const unsigned char* data, std::size_t size);
void WritePrivateBytes(const std::string& path, const unsigned char* data, std::size_t size);
void MakeFolder(const std::string& path);
void RemoveFile(const std::string& path);
void ReplaceFile(const std::string& from, const std::string& to);
// Renames a file to a name that must be free: a file of that name raises 58 and stays.
void RenameToFreeName(const std::string& from, const std::string& to);
// The file a path finally names through symbolic links; the path itself when it is no link.
// Raises 76 when the links go round, and 70 for a link that someone else put into a folder
// shared with others.
std::string LinkedFile(const std::string& path);
// Appends text while holding an exclusive lock. An open failure raises, a lock held by another
// process as error 70; a failed write returns false.
bool AppendExclusive(const std::string& path, const std::string& text);

// Copies a file to a new file that must not exist yet, synced to the disk before it returns.
void CopyToNewFile(const std::string& source, const std::string& destination);
// True when another process holds a lock on the file.
bool IsLockedByOther(const std::string& path);

// A file read in large blocks from start to end.
class InputFile {
 public:
  explicit InputFile(const std::string& path);  // raises when it cannot be opened
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  // Reads up to size bytes; 0 at the end of the file.
  std::size_t Read(char* buffer, std::size_t size);

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace gui::platform
