#include "printing/cups/IppMessage.h"

namespace gui::cups {

namespace {

// Texts as they are; other values (numbers, resolutions, enums) in IPP's own notation.
std::string ValueText(ipp_attribute_t* attribute) {
  const char* text = ippGetCount(attribute) == 1 ? ippGetString(attribute, 0, nullptr) : nullptr;
  if (text != nullptr) return text;
  char buffer[1024];
  ippAttributeString(attribute, buffer, sizeof buffer);
  return buffer;
}

}  // namespace

std::string PrinterUri(const std::string& name) {
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                   "/printers/%s", name.c_str());
  return uri;
}

std::string JobUri(std::uint32_t jobId) {
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                   "/jobs/%u", jobId);
  return uri;
}

IppPtr NewRequest(ipp_op_t operation, const char* uriName, const std::string& uri) {
  IppPtr request(ippNewRequest(operation));
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_URI, uriName, nullptr, uri.c_str());
  ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  return request;
}

void RequestAttributes(ipp_t* request, const std::vector<const char*>& names) {
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                static_cast<int>(names.size()), nullptr, names.data());
}

IppPtr Send(IppPtr request, const char* resource, long& error) {
  IppPtr response(cupsDoRequest(CUPS_HTTP_DEFAULT, request.release(), resource));
  error = cupsLastError() > IPP_STATUS_OK_CONFLICTING ? cupsLastError() : 0;
  if (error != 0) response.reset();
  return response;
}

ipp_attribute_t* IppGroup::Find(const char* name) const {
  for (ipp_attribute_t* attribute : attributes_) {
    if (std::string(ippGetName(attribute)) == name) return attribute;
  }
  return nullptr;
}

std::string IppGroup::Text(const char* name) const {
  ipp_attribute_t* attribute = Find(name);
  return attribute == nullptr ? std::string() : ValueText(attribute);
}

std::vector<std::string> IppGroup::Texts(const char* name) const {
  std::vector<std::string> texts;
  ipp_attribute_t* attribute = Find(name);
  for (int i = 0; attribute != nullptr && i < ippGetCount(attribute); ++i) {
    const char* text = ippGetString(attribute, i, nullptr);
    if (text != nullptr) texts.emplace_back(text);
  }
  return texts;
}

int IppGroup::Integer(const char* name) const {
  ipp_attribute_t* attribute = Find(name);
  return attribute == nullptr ? 0 : ippGetInteger(attribute, 0);
}

bool IppGroup::Boolean(const char* name) const {
  ipp_attribute_t* attribute = Find(name);
  return attribute != nullptr && ippGetBoolean(attribute, 0);
}

std::map<std::string, std::string> IppGroup::Options(const std::vector<const char*>& names,
                                                     const char* suffix) const {
  std::map<std::string, std::string> options;
  for (const char* name : names) {
    std::string text = Text((std::string(name) + suffix).c_str());
    if (!text.empty()) options[name] = text;
  }
  return options;
}

std::vector<IppGroup> GroupsOf(ipp_t* response, ipp_tag_t tag) {
  std::vector<IppGroup> groups;
  bool inGroup = false;
  for (ipp_attribute_t* attribute = ippFirstAttribute(response); attribute != nullptr;
       attribute = ippNextAttribute(response)) {
    bool matches = ippGetGroupTag(attribute) == tag && ippGetName(attribute) != nullptr;
    if (matches && !inGroup) groups.emplace_back();
    if (matches) groups.back().Append(attribute);
    inGroup = matches;
  }
  return groups;
}

}  // namespace gui::cups
