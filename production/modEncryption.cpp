#include "production/modEncryption.h"

namespace gui {

bool EncryptionEnabled(Dictionary& settings) {
  return !settings.Text("ownerpassword").empty();
}

// The passwords go in as the dialect keeps them whole; the numbers as the dialogs compose them.
std::string EncryptionParams(Dictionary& settings, GhostscriptDialect dialect) {
  const std::string lineEnd = "\r\n";
  std::string lines =
      TextSwitch("OwnerPassword", settings.Text("ownerpassword"), dialect) + lineEnd;
  std::string userPassword = settings.Text("userpassword");
  if (!userPassword.empty()) lines += TextSwitch("UserPassword", userPassword, dialect) + lineEnd;
  lines += "-dEncryptionR#3" + lineEnd;
  std::string keyLength = settings.Text("keylength");
  if (!keyLength.empty()) lines += "-dKeyLength#" + keyLength + lineEnd;
  std::string permissions = settings.Text("permissions");
  if (!permissions.empty()) lines += "-dPermissions#" + permissions + lineEnd;
  return lines;
}

}  // namespace gui
