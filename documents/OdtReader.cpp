#include "OdtReader.h"

#include <QByteArray>
#include <QXmlStreamReader>
#include <algorithm>

#include "BoundedText.h"
#include "ImportLimits.h"
#include "XmlLimits.h"

namespace vellora {
namespace {

const QLatin1StringView kTextNs("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QLatin1StringView kOfficeNs("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QLatin1StringView kDrawNs("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");

bool IsSkipped(const QXmlStreamReader& xml) {
  const QStringView ns = xml.namespaceUri();
  const QStringView name = xml.name();
  if (ns == kTextNs) return name == u"note" || name == u"tracked-changes" || name == u"ruby-text";
  if (ns == kOfficeNs) return name == u"annotation" || name == u"automatic-styles";
  return ns == kDrawNs;
}

bool IsOdfSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// A text:s element stands for text:c spaces, one when the count is missing or unreadable.
qlonglong SpaceCount(const QXmlStreamReader& xml) {
  bool ok = false;
  const qlonglong count =
      xml.attributes().value(QString(kTextNs), QStringLiteral("c")).toLongLong(&ok);
  if (!ok) return 1;
  return std::max<qlonglong>(count, 0);
}

}  // namespace

ReadOutcome<std::u16string> ExtractOdtText(std::string_view contentXml) {
  using Outcome = ReadOutcome<std::u16string>;
  const std::string part = kOdtContentPart;
  const std::string tooLong = "the text of the document is too long";
  QXmlStreamReader xml(
      QByteArray::fromRawData(contentXml.data(), static_cast<qsizetype>(contentXml.size())));
  BoundedText out(ImportTextLimit(contentXml.size()));
  int depth = 0;
  int skipUntilDepth = 0;
  int paragraphDepth = 0;  // how many text:p / text:h enclose the current point
  bool firstParagraph = true;
  // Runs of white space inside a paragraph count as one space, none at its start.
  bool atParagraphStart = false;
  bool afterSpace = false;

  while (!xml.atEnd()) {
    const auto token = xml.readNext();
    if (token == QXmlStreamReader::DTD) {
      if (auto refused = RefuseDeclaredEntities(xml, part)) return Outcome::Failure(*refused);
    } else if (token == QXmlStreamReader::StartElement) {
      ++depth;
      if (depth > kMaxNestingDepth)
        return Outcome::Failure("the document part " + part + " is nested too deeply");
      if (skipUntilDepth != 0) continue;
      if (IsSkipped(xml)) {
        skipUntilDepth = depth;
        continue;
      }
      if (xml.namespaceUri() != kTextNs) continue;
      const QStringView name = xml.name();
      bool fits = true;
      if (name == u"p" || name == u"h") {
        if (paragraphDepth == 0) {
          if (!firstParagraph) fits = out.Append(u'\n');
          firstParagraph = false;
          atParagraphStart = true;
          afterSpace = false;
        }
        ++paragraphDepth;
      } else if (paragraphDepth > 0) {
        if (name == u"s") {
          const qlonglong count = SpaceCount(xml);
          if (count > static_cast<qlonglong>(kMaxRepeatUnits))
            return Outcome::Failure(tooLong + ": one run of spaces in " + part + " stands for " +
                                    std::to_string(count) + " spaces");
          fits = out.AppendRepeated(u' ', static_cast<std::size_t>(count));
        } else if (name == u"tab") {
          fits = out.Append(u'\t');
        } else if (name == u"line-break") {
          fits = out.Append(u'\n');
        } else {
          continue;
        }
        atParagraphStart = false;
        afterSpace = false;
      }
      if (!fits) return Outcome::Failure(tooLong);
    } else if (token == QXmlStreamReader::EndElement) {
      if (skipUntilDepth == depth) {
        skipUntilDepth = 0;
      } else if (skipUntilDepth == 0 && xml.namespaceUri() == kTextNs &&
                 (xml.name() == u"p" || xml.name() == u"h") && paragraphDepth > 0) {
        --paragraphDepth;
      }
      --depth;
    } else if (token == QXmlStreamReader::Characters) {
      if (skipUntilDepth != 0 || paragraphDepth == 0) continue;
      for (const QChar qc : xml.text()) {
        const char16_t c = qc.unicode();
        if (IsOdfSpace(c)) {
          if (atParagraphStart || afterSpace) continue;
          afterSpace = true;
          if (!out.Append(u' ')) return Outcome::Failure(tooLong);
        } else {
          atParagraphStart = false;
          afterSpace = false;
          if (!out.Append(c)) return Outcome::Failure(tooLong);
        }
      }
    }
  }
  if (xml.hasError()) return Outcome::Failure(DescribeXmlError(xml, part));
  return Outcome::Success(out.Take());
}

}  // namespace vellora
