// Shared checks for the XML readers: nesting depth and the wording of XML failures.
#pragma once

#include <QXmlStreamReader>
#include <string>

namespace vellora {

// Why the XML reader stopped, e.g. "the document part word/document.xml is not well-formed XML
// (line 3: Premature end of document.)".
std::string DescribeXmlError(const QXmlStreamReader& xml, const std::string& partName);

}  // namespace vellora
