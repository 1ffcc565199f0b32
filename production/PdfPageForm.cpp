#include "production/PdfPageForm.h"

#include "platform/OutputFile.h"
#include "production/modSuperimpose.h"

namespace gui {

namespace {

// Large enough for any page: the form is drawn where the page description puts it.
constexpr char kFormBox[] = " /BBox [0 0 14400 14400] /BP pdfmark\r\n";
// The interpreter's state lives in a save of the form's own; the page is drawn without the
// page device changes a page of its own would bring. The new reader draws it even where the job
// is read by the former one.
constexpr char kDrawFirstPage[] =
    " (r) file /newpdf_runpdfbegin where {pop newpdf_runpdfbegin PDFFile 0 .PDFDrawPage "
    "newpdf_pdfclose} {runpdfbegin PDFFile 0 .PDFDrawPage pdfclose} ifelse PDFSave restore end\r\n";
constexpr char kWrapperStart[] = "/QuentarisBackgroundSave save def\r\n";
constexpr char kWrapperEnd[] = "QuentarisBackgroundSave restore\r\n";

// Any bytes of a path, as a PostScript hex string.
std::string HexString(const std::string& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex = "<";
  for (unsigned char c : bytes) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 0xF];
  }
  return hex + ">";
}

}  // namespace

void WritePdfPageForm(const std::string& pdfFile, const std::string& formFile, int item) {
  platform::OutputFile form(formFile);
  form.Write("[/_objdef {" + BackgroundFormName(item) + "}" + kFormBox);
  form.Write(kWrapperStart);
  form.Write(HexString(pdfFile) + kDrawFirstPage);
  form.Write(kWrapperEnd);
  form.Write("[/EP pdfmark\r\n");
  form.Close();
}

}  // namespace gui
