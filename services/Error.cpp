#include "services/Error.h"

namespace gui {

std::string RuntimeErrorText(long number) {
  switch (number) {
    case err::kInvalidProcedureCall:
      return "Invalid procedure call or argument";
    case err::kOverflow:
      return "Overflow";
    case err::kSubscriptOutOfRange:
      return "Subscript out of range";
    case err::kDivisionByZero:
      return "Division by zero";
    case err::kTypeMismatch:
      return "Type mismatch";
    case err::kBadFileName:
      return "Bad file name or number";
    case err::kFileNotFound:
      return "File not found";
    case err::kDeviceIo:
      return "Device I/O error";
    case err::kFileAlreadyExists:
      return "File already exists";
    case err::kDiskFull:
      return "Disk full";
    case err::kTooManyFiles:
      return "Too many files";
    case err::kPermissionDenied:
      return "Permission denied";
    case err::kPathFileAccess:
      return "Path/File access error";
    case err::kPathNotFound:
      return "Path not found";
    case err::kCannotCreateObject:
      return "ActiveX component can't create object";
    case err::kDuplicateKey:
      return "This key is already associated with an element of this collection";
    default:
      return "Application-defined or object-defined error";
  }
}

}  // namespace gui
