#include "tests/production/GhostscriptTesting.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "production/modGhostScript.h"
#include "startup/modLog.h"
#include "tests/support/StandIn.h"

namespace gui::test {

DictionaryPtr SettingsWith(const SettingValues& values) {
  DictionaryPtr settings = NewDictionary();
  for (const auto& [name, value] : values)
    settings->Set(name, value);
  return settings;
}

TestRegistry::TestRegistry(const std::string& sections)
    : variable_("QUENTARIS_REGISTRY", folder_ / "registry.reg") {
  if (!sections.empty())
    PutFile(folder_ / "registry.reg", "Windows Registry Editor Version 5.00\r\n\r\n" + sections);
}

std::string RegistrySection(const std::string& key, const std::string& name,
                            const std::string& value) {
  return "[HKEY_LOCAL_MACHINE\\" + key + "]\r\n\"" + name + "\"=\"" + value + "\"\r\n\r\n";
}

std::string GhostscriptFolderSection(const std::string& folder) {
  return RegistrySection("SOFTWARE\\QUENTARIS\\PDF Printer\\Settings", "ghostscriptfolder", folder);
}

void PutStandInGhostscript(const std::string& path, const std::string& version,
                           const std::string& body) {
  PutScript(path, "if [ \"$1\" = --version ]; then echo '" + version + "'; exit 0; fi\n" + body);
}

std::string CaptureOutput(const std::string& program, const std::vector<std::string>& arguments) {
  int ends[2];
  if (pipe(ends) != 0) throw std::runtime_error("pipe failed");
  pid_t child = fork();
  if (child == 0) {
    dup2(ends[1], 1);
    dup2(ends[1], 2);
    close(ends[0]);
    close(ends[1]);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execvp(program.c_str(), argv.data());
    _exit(127);
  }
  close(ends[1]);
  std::string output;
  char buffer[4096];
  ssize_t got;
  while ((got = read(ends[0], buffer, sizeof buffer)) > 0)
    output.append(buffer, static_cast<std::size_t>(got));
  close(ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return output;
}

std::string Golden(const std::string& name) {
  return GetFile(std::string(GUI_SOURCE_DIR) + "/tests/production/golden/" + name);
}

std::string PostScriptJob(const std::vector<std::string>& pageTexts) {
  std::string job = "%!PS-Adobe-3.0\n%%Pages: " + std::to_string(pageTexts.size()) +
                    "\n%%EndComments\n/Helvetica findfont 24 scalefont setfont\n";
  int number = 0;
  for (const std::string& text : pageTexts) {
    ++number;
    std::string page = std::to_string(number);
    job += "%%Page: " + page + " " + page + "\n72 700 moveto (" + text + ") show showpage\n";
  }
  return job + "%%EOF\n";
}

std::string RunMainJob(Dictionary& settings, const std::string& folder, const std::string& job,
                       const std::string& header) {
  std::string base = folder + "/s1";
  PutFile(base + "_patched.ps", job);
  PutFile(base + "_header.ps", header);
  WriteGhostscriptParams(base + "_params.gs", base + "_patched.ps", base + "_printer.pdf",
                         base + "_header.ps", settings);
  RunGhostscript(settings, base + "_params.gs");
  return base + "_printer.pdf";
}

std::string PdfInfo(const std::string& pdf, const std::string& field) {
  std::string report = "\n" + CaptureOutput("pdfinfo", {pdf});
  std::string::size_type start = report.find("\n" + field + ":");
  if (start == std::string::npos) return "<no " + field + ">";
  start = report.find_first_not_of(' ', start + field.size() + 2);
  return report.substr(start, report.find('\n', start) - start);
}

std::string PdfText(const std::string& pdf) {
  return CaptureOutput("pdftotext", {pdf, "-"});
}

std::string RealGhostscriptTest::Log() const {
  return GetFile(LogFileName());
}

void MakePdf(const std::string& postScript, const std::string& pdfFile) {
  std::string source = pdfFile + ".ps";
  PutFile(source, postScript);
  CaptureOutput("/usr/bin/gs", {"-q", "-dSAFER", "-dNOPAUSE", "-dBATCH", "-sDEVICE=pdfwrite",
                                "-sOutputFile=" + pdfFile, source});
}

}  // namespace gui::test
