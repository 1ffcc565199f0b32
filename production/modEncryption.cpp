#include "production/modEncryption.h"

namespace gui {

bool EncryptionEnabled(Dictionary& settings) {
  return !settings.Text("ownerpassword").empty();
}

// Values go in bare: the dialogs compose them, and Ghostscript reads them as written.
std::string EncryptionParams(Dictionary& settings) {
  const std::string lineEnd = "\r\n";
  std::string lines = "-sOwnerPassword#" + settings.Text("ownerpassword") + lineEnd;
  std::string userPassword = settings.Text("userpassword");
  if (!userPassword.empty()) lines += "-sUserPassword#" + userPassword + lineEnd;
  lines += "-dEncryptionR#3" + lineEnd;
  std::string keyLength = settings.Text("keylength");
  if (!keyLength.empty()) lines += "-dKeyLength#" + keyLength + lineEnd;
  std::string permissions = settings.Text("permissions");
  if (!permissions.empty()) lines += "-dPermissions#" + permissions + lineEnd;
  return lines;
}

}  // namespace gui
