#pragma once
// The first bytes by which documents are recognised inside carriers.
#include <string>

namespace carriers {

const std::string Ole2Bytes("\xD0\xCF\x11\xE0\xA1", 5);  // OLE2 compound document
const std::string RtfBytes("{\\rtf", 5);
const std::string ZipBytes("PK\x03\x04", 4);  // a ZIP local header: Office Open XML packages
const std::string PdfBytes("%PDF-", 5);

}  // namespace carriers
