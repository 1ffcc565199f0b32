#include "ui/qt/QtPlatforms.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QStringList>

namespace gui {

namespace {

std::string Variable(const char* name) {
  return qEnvironmentVariable(name).toStdString();
}

bool XDisplayOpens(const std::string& display) {
  xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
  bool opened = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return opened;
}

// A Wayland display is the socket of its compositor, named relative to the runtime folder.
bool WaylandDisplayOpens(const std::string& display) {
  std::string path =
      display.starts_with('/') ? display : Variable("XDG_RUNTIME_DIR") + "/" + display;
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, path.size());
  int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket < 0) return false;
  bool opened = connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(socket);
  return opened;
}

// The keys of the platform plugins Qt would find, read from the plugins without loading them.
QStringList InstalledPlatforms() {
  QStringList folders;
  for (const QString& path : QCoreApplication::libraryPaths())
    folders << path + "/platforms";
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM_PLUGIN_PATH"))
    folders << qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
  QStringList keys;
  for (const QString& folder : folders) {
    QDir plugins(folder);
    for (const QString& file : plugins.entryList(QDir::Files)) {
      QJsonObject data = QPluginLoader(plugins.filePath(file)).metaData();
      for (const QJsonValue& key : data.value("MetaData").toObject().value("Keys").toArray())
        keys << key.toString().toLower();
    }
  }
  return keys;
}

// Qt's own list when one is asked for; otherwise the displays that are set, the session's kind
// first.
QStringList RequestedPlatforms() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    return qEnvironmentVariable("QT_QPA_PLATFORM").split(';', Qt::SkipEmptyParts);
  QStringList platforms;
  if (!qEnvironmentVariableIsEmpty("DISPLAY")) platforms << "xcb";
  if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    if (Variable("XDG_SESSION_TYPE") == "wayland")
      platforms.prepend("wayland");
    else
      platforms << "wayland";
  }
  return platforms;
}

std::string DisplayProblem(const char* variable, const std::string& kind,
                           bool (*opens)(const std::string&)) {
  std::string display = Variable(variable);
  if (display.empty()) return std::string(variable) + " is not set";
  if (!opens(display)) return "The " + kind + "display '" + display + "' cannot be opened";
  return {};
}

// Why the platform cannot show windows here; "" when it can.
std::string PlatformProblem(const QString& name, const QStringList& installed) {
  std::string problem;
  if (name == "xcb")
    problem = DisplayProblem("DISPLAY", "", XDisplayOpens);
  else if (name.startsWith("wayland"))
    problem = DisplayProblem("WAYLAND_DISPLAY", "Wayland ", WaylandDisplayOpens);
  if (problem.empty() && !installed.contains(name))
    problem = "Qt has no platform plugin '" + name.toStdString() + "'";
  return problem;
}

}  // namespace

PlatformChoice ChooseQtPlatforms() {
  QStringList installed = InstalledPlatforms();
  QStringList usable;
  std::string problems;
  for (const QString& entry : RequestedPlatforms()) {
    // An entry may carry the plugin's options after a colon.
    std::string problem = PlatformProblem(entry.section(':', 0, 0).toLower(), installed);
    if (problem.empty())
      usable << entry;
    else
      problems += (problems.empty() ? "" : "; ") + problem;
  }
  if (!usable.isEmpty()) return {usable.join(';').toStdString(), {}};
  return {{}, problems.empty() ? "No display is set" : problems};
}

}  // namespace gui
