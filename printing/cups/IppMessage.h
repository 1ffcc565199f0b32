#pragma once

#include <cups/cups.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace gui::cups {

struct IppDeleter {
  void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppPtr = std::unique_ptr<ipp_t, IppDeleter>;

// The URIs by which the server knows a printer and a job.
std::string PrinterUri(const std::string& name);
std::string JobUri(std::uint32_t jobId);

// A request with its operation attributes, the target URI and the requesting user.
IppPtr NewRequest(ipp_op_t operation, const char* uriName, const std::string& uri);
void RequestAttributes(ipp_t* request, const std::vector<const char*>& names);

// Sends the request to the server; the response, or null with the error number in error.
IppPtr Send(IppPtr request, const char* resource, long& error);

// The attributes of one printer or job in a response.
class IppGroup {
 public:
  void Append(ipp_attribute_t* attribute) { attributes_.push_back(attribute); }
  std::string Text(const char* name) const;
  std::vector<std::string> Texts(const char* name) const;
  int Integer(const char* name) const;  // 0 when missing
  bool Boolean(const char* name) const;
  // Each attribute NAME + suffix as NAME=text: "-default" reads a printer's defaults, "" a
  // job's own values.
  std::map<std::string, std::string> Options(const std::vector<const char*>& names,
                                             const char* suffix) const;

 private:
  ipp_attribute_t* Find(const char* name) const;

  std::vector<ipp_attribute_t*> attributes_;
};

// The groups of the given tag in a response (one per printer or job), in order.
std::vector<IppGroup> GroupsOf(ipp_t* response, ipp_tag_t tag);

}  // namespace gui::cups
