// Shared checks for the XML readers: declared entities and the wording of XML failures.
#pragma once

#include <QXmlStreamReader>
#include <optional>
#include <string>

namespace vellora {

// Why the XML reader stopped, e.g. "the document part word/document.xml is not well-formed XML
// (line 3: Premature end of document.)".
std::string DescribeXmlError(const QXmlStreamReader& xml, const std::string& partName);

// At a DTD token: why the part is refused when its document type declares entities. Word
// processors never write any, and each reference to one could expand to kilobytes of text.
std::optional<std::string> RefuseDeclaredEntities(const QXmlStreamReader& xml,
                                                  const std::string& partName);

}  // namespace vellora
