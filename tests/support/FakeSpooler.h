#pragma once

#include <map>
#include <memory>

#include "printing/Spooler.h"

namespace gui::test {

// A spooler whose printers and jobs a test writes down; installed for the life of the object.
class FakeSpooler : public Spooler {
 public:
  static FakeSpooler& Install() {
    auto spooler = std::make_unique<FakeSpooler>();
    FakeSpooler& installed = *spooler;
    InstallSpooler(std::move(spooler));
    return installed;
  }

  std::vector<std::string> PrinterNames() override { return names; }
  long ReadPrinter(const std::string& name, PrinterRecord& record) override {
    auto found = printers.find(name);
    if (found == printers.end()) return kUnknownPrinter;
    record = found->second;
    return readError;
  }
  long ReadJobs(const std::string& name, std::vector<JobRecord>& list) override {
    list = jobs[name];
    return 0;
  }
  std::string DefaultPrinter() override { return defaultPrinter; }
  long SetDefaultPrinter(const std::string& name) override {
    if (!printers.count(name)) return kUnknownPrinter;
    defaultPrinter = name;
    return 0;
  }
  bool CanAdminister(const std::string&) override { return false; }
  long ControlPrinter(const std::string&, PrinterCommand) override { return commandError; }
  long ControlJob(const std::string&, std::uint32_t, JobCommand) override { return commandError; }
  long SetJobPriority(const std::string&, std::uint32_t jobId, std::uint32_t priority) override {
    priorities[jobId] = priority;
    return 0;
  }
  std::string ErrorText(long number) override {
    return number == kUnknownPrinter ? "client-error-not-found" : "";
  }
  std::string PropertiesPage(const std::string&) override { return {}; }

  // A printer of that name, on a port, described by a comment.
  PrinterRecord& Add(const std::string& name, const std::string& port,
                     const std::string& comment = {}) {
    names.push_back(name);
    PrinterRecord& record = printers[name];
    record.printerName = name;
    record.portName = port;
    record.comment = comment;
    return record;
  }

  static constexpr long kUnknownPrinter = 1030;
  std::vector<std::string> names;
  std::map<std::string, PrinterRecord> printers;
  std::map<std::string, std::vector<JobRecord>> jobs;
  std::map<std::uint32_t, std::uint32_t> priorities;
  std::string defaultPrinter;
  long readError = 0;
  long commandError = 0;
};

// Installs a fake spooler for one test, and no spooler again afterwards.
class ScopedFakeSpooler {
 public:
  ScopedFakeSpooler() : spooler_(FakeSpooler::Install()) {}
  ~ScopedFakeSpooler() { InstallSpooler(std::make_unique<FakeSpooler>()); }
  FakeSpooler* operator->() { return &spooler_; }

 private:
  FakeSpooler& spooler_;
};

}  // namespace gui::test
