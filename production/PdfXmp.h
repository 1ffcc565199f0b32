#pragma once

#include <string>
#include <string_view>

namespace gui {

struct XmpFacts {
  std::string title;    // dc:title, the x-default alternative first
  std::string creator;  // the first of dc:creator
};

// The title and the first creator of an XMP metadata packet, entities decoded.
XmpFacts ReadXmp(std::string_view xml);

}  // namespace gui
