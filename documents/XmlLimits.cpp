#include "XmlLimits.h"

namespace vellora {

std::string DescribeXmlError(const QXmlStreamReader& xml, const std::string& partName) {
  return "the document part " + partName + " is not well-formed XML (line " +
         std::to_string(xml.lineNumber()) + ": " + xml.errorString().toStdString() + ")";
}

}  // namespace vellora
