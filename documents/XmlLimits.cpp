#include "XmlLimits.h"

namespace vellora {

std::string DescribeXmlError(const QXmlStreamReader& xml, const std::string& partName) {
  return "the document part " + partName + " is not well-formed XML (line " +
         std::to_string(xml.lineNumber()) + ": " + xml.errorString().toStdString() + ")";
}

std::optional<std::string> RefuseDeclaredEntities(const QXmlStreamReader& xml,
                                                  const std::string& partName) {
  if (xml.entityDeclarations().isEmpty()) return std::nullopt;
  return "the document part " + partName +
         " declares XML entities, which documents of word processors never hold";
}

}  // namespace vellora
