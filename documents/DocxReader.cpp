#include "DocxReader.h"

#include <QByteArray>
#include <QXmlStreamReader>
#include <vector>

#include "BoundedText.h"
#include "ImportLimits.h"
#include "XmlLimits.h"

namespace vellora {
namespace {

const QLatin1StringView kWordNs("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QLatin1StringView kWordStrictNs("http://purl.oclc.org/ooxml/wordprocessingml/main");
const QLatin1StringView kMarkupCompatNs(
    "http://schemas.openxmlformats.org/markup-compatibility/2006");

bool IsWord(const QXmlStreamReader& xml) {
  return xml.namespaceUri() == kWordNs || xml.namespaceUri() == kWordStrictNs;
}

// Elements whose content is not part of the document's visible main text.
bool IsSkipped(const QXmlStreamReader& xml) {
  const QStringView name = xml.name();
  if (IsWord(xml)) {
    return name == u"del" || name == u"moveFrom" || name == u"delText" || name == u"instrText" ||
           name == u"delInstrText" || name == u"txbxContent" || name == u"pPr" || name == u"rPr" ||
           name == u"sectPr" || name == u"tblPr";
  }
  // A fallback repeats its alternative's content for older readers.
  return xml.namespaceUri() == kMarkupCompatNs && name == u"Fallback";
}

std::u16string_view View(QStringView s) {
  return {reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size())};
}

}  // namespace

ReadOutcome<std::u16string> ExtractDocxText(std::string_view documentXml) {
  using Outcome = ReadOutcome<std::u16string>;
  const std::string part = kDocxMainPart;
  QXmlStreamReader xml(
      QByteArray::fromRawData(documentXml.data(), static_cast<qsizetype>(documentXml.size())));
  BoundedText out(ImportTextLimit(documentXml.size()));
  int depth = 0;
  int skipUntilDepth = 0;  // nonzero: inside a skipped element that opened at this depth
  bool inText = false;     // inside w:t
  bool firstParagraph = true;
  std::vector<bool> runAtDepth;  // whether the element at each depth is a w:r

  while (!xml.atEnd()) {
    const auto token = xml.readNext();
    if (token == QXmlStreamReader::DTD) {
      if (auto refused = RefuseDeclaredEntities(xml, part)) return Outcome::Failure(*refused);
    } else if (token == QXmlStreamReader::StartElement) {
      ++depth;
      if (depth > kMaxNestingDepth)
        return Outcome::Failure("the document part " + part + " is nested too deeply");
      const bool isWord = IsWord(xml);
      runAtDepth.push_back(isWord && xml.name() == u"r");
      if (skipUntilDepth != 0) continue;
      if (IsSkipped(xml)) {
        skipUntilDepth = depth;
        continue;
      }
      if (!isWord) continue;
      const QStringView name = xml.name();
      const bool parentIsRun = runAtDepth.size() >= 2 && runAtDepth[runAtDepth.size() - 2];
      bool fits = true;
      if (name == u"p") {
        if (!firstParagraph) fits = out.Append(u'\n');
        firstParagraph = false;
      } else if (name == u"t") {
        inText = true;
      } else if (parentIsRun && (name == u"tab" || name == u"ptab")) {
        fits = out.Append(u'\t');
      } else if (parentIsRun && (name == u"br" || name == u"cr")) {
        fits = out.Append(u'\n');
      } else if (parentIsRun && name == u"noBreakHyphen") {
        fits = out.Append(u'-');
      }
      if (!fits) return Outcome::Failure("the text of the document is too long");
    } else if (token == QXmlStreamReader::EndElement) {
      if (skipUntilDepth == depth) skipUntilDepth = 0;
      if (skipUntilDepth == 0 && IsWord(xml) && xml.name() == u"t") inText = false;
      if (!runAtDepth.empty()) runAtDepth.pop_back();
      --depth;
    } else if (token == QXmlStreamReader::Characters) {
      if (inText && skipUntilDepth == 0 && !out.Append(View(xml.text())))
        return Outcome::Failure("the text of the document is too long");
    }
  }
  if (xml.hasError()) return Outcome::Failure(DescribeXmlError(xml, part));
  return Outcome::Success(out.Take());
}

}  // namespace vellora
