#include "WebPage.h"

#include <gumbo.h>

#include <algorithm>
#include <memory>
#include <unordered_set>
#include <vector>

#include "AsciiText.h"
#include "FileBytes.h"
#include "ImportLimits.h"
#include "PageCharset.h"
#include "PageNesting.h"
#include "UPlainText.h"

namespace vellora {
namespace {

// The lower-case name of an element, also for tags the parser does not know.
std::string ElementName(const GumboElement& element) {
  if (element.tag != GUMBO_TAG_UNKNOWN) return gumbo_normalized_tagname(element.tag);
  GumboStringPiece piece = element.original_tag;
  gumbo_tag_from_original_text(&piece);
  return AsciiLowered(std::string_view(piece.data, piece.length));
}

const char* Attribute(const GumboElement& element, const char* name) {
  const GumboAttribute* attribute = gumbo_get_attribute(&element.attributes, name);
  return attribute != nullptr ? attribute->value : nullptr;
}

bool IsHidden(const GumboElement& element) {
  if (Attribute(element, "hidden") != nullptr) return true;
  if (const char* aria = Attribute(element, "aria-hidden"); aria && AsciiLowered(aria) == "true")
    return true;
  if (const char* style = Attribute(element, "style")) {
    std::string compact;
    for (const char* c = style; *c != '\0'; ++c)
      if (!IsAsciiSpace(*c)) compact.push_back(AsciiLower(*c));
    if (compact.find("display:none") != std::string::npos ||
        compact.find("visibility:hidden") != std::string::npos)
      return true;
  }
  return false;
}

bool IsLeftOut(const GumboNode& node) {
  if (node.type == GUMBO_NODE_TEMPLATE) return true;
  if (node.type != GUMBO_NODE_ELEMENT) return false;
  const GumboElement& element = node.v.element;
  // svg and math drawings hold labels, not prose.
  if (element.tag_namespace != GUMBO_NAMESPACE_HTML) return true;
  static const std::unordered_set<std::string> kLeftOut = {
      "script", "style",  "noscript", "template", "head",     "nav",      "header", "footer",
      "aside",  "form",   "title",    "select",   "datalist", "textarea", "iframe", "object",
      "embed",  "canvas", "video",    "audio",    "map",      "button"};
  const std::string name = ElementName(element);
  if (kLeftOut.count(name) != 0) return true;
  if (name == "dialog" && Attribute(element, "open") == nullptr) return true;
  return IsHidden(element);
}

bool IsBlock(const std::string& name) {
  static const std::unordered_set<std::string> kBlocks = {
      "address",  "article",    "aside",    "blockquote", "body",    "caption",   "center",
      "dd",       "details",    "dialog",   "dir",        "div",     "dl",        "dt",
      "fieldset", "figcaption", "figure",   "footer",     "form",    "frameset",  "h1",
      "h2",       "h3",         "h4",       "h5",         "h6",      "header",    "hgroup",
      "hr",       "html",       "legend",   "li",         "listing", "main",      "menu",
      "nav",      "ol",         "optgroup", "option",     "p",       "plaintext", "pre",
      "search",   "section",    "summary",  "table",      "tbody",   "thead",     "tfoot",
      "tr",       "ul",         "xmp"};
  return kBlocks.count(name) != 0;
}

bool KeepsLineBreaks(const std::string& name) {
  return name == "pre" || name == "listing" || name == "xmp" || name == "plaintext";
}

// Lines of readable text built from text pieces and line starts.
class TextLines {
 public:
  void Add(std::u16string_view text, bool keepLineBreaks) {
    for (const char16_t c : text) {
      if (c == u'\n' && keepLineBreaks) {
        StartLine();
      } else if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' ||
                 c == u'\u00A0') {
        pendingSpace_ = true;
      } else {
        if (pendingSpace_ && !line_.empty()) line_.push_back(u' ');
        pendingSpace_ = false;
        line_.push_back(c);
      }
    }
  }
  void StartLine() {
    if (!line_.empty()) {
      if (!text_.empty()) text_.push_back(u'\n');
      text_.append(line_);
      line_.clear();
    }
    pendingSpace_ = false;
  }
  // Table cells of a row share a line, one space apart.
  void SeparateCell() {
    if (!line_.empty()) pendingSpace_ = true;
  }
  std::u16string Take() {
    StartLine();
    return std::move(text_);
  }

 private:
  std::u16string text_;
  std::u16string line_;
  bool pendingSpace_ = false;
};

std::u16string TextOf(const GumboText& text) {
  return FromUtf8(text.text);
}

// Visits the elements under root that are not left out, depth first, without recursion.
template <typename Visit>
void ForEachShownElement(const GumboNode* root, Visit visit) {
  std::vector<const GumboNode*> pending{root};
  while (!pending.empty()) {
    const GumboNode* node = pending.back();
    pending.pop_back();
    if (node->type != GUMBO_NODE_ELEMENT || IsLeftOut(*node)) continue;
    if (!visit(*node)) return;
    const GumboVector& children = node->v.element.children;
    for (unsigned i = children.length; i-- > 0;)
      pending.push_back(static_cast<const GumboNode*>(children.data[i]));
  }
}

const GumboNode* FindElement(const GumboNode* root, const char* name) {
  const GumboNode* found = nullptr;
  std::vector<const GumboNode*> pending{root};
  while (!pending.empty() && found == nullptr) {
    const GumboNode* node = pending.back();
    pending.pop_back();
    if (node->type != GUMBO_NODE_ELEMENT) continue;
    if (node->v.element.tag_namespace == GUMBO_NAMESPACE_HTML &&
        ElementName(node->v.element) == name)
      found = node;
    const GumboVector& children = node->v.element.children;
    for (unsigned i = children.length; i-- > 0;)
      pending.push_back(static_cast<const GumboNode*>(children.data[i]));
  }
  return found;
}

// The page's main element, or its only article, or else its body.
const GumboNode* ContentRoot(const GumboNode* document) {
  const GumboNode* body = FindElement(document, "body");
  const GumboNode* start = body != nullptr ? body : document;
  const GumboNode* main = nullptr;
  std::vector<const GumboNode*> articles;
  ForEachShownElement(start, [&](const GumboNode& node) {
    const std::string name = ElementName(node.v.element);
    if (name == "main" && main == nullptr) main = &node;
    if (name == "article") articles.push_back(&node);
    return true;
  });
  if (main != nullptr) return main;
  if (articles.size() == 1) return articles.front();
  return start;
}

std::u16string ReadableText(const GumboNode* root) {
  TextLines lines;
  struct Frame {
    const GumboNode* node;
    unsigned next;
    bool block;
    bool keepsBreaks;
  };
  int keepBreaks = 0;
  std::vector<Frame> stack;
  const auto enter = [&](const GumboNode* node) {
    if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE ||
        node->type == GUMBO_NODE_CDATA) {
      lines.Add(TextOf(node->v.text), keepBreaks > 0);
      return;
    }
    if (node->type != GUMBO_NODE_ELEMENT || IsLeftOut(*node)) return;
    const std::string name = ElementName(node->v.element);
    if (name == "br") {
      lines.StartLine();
      return;
    }
    if (name == "td" || name == "th") lines.SeparateCell();
    const bool block = IsBlock(name);
    if (block) lines.StartLine();
    const bool keeps = KeepsLineBreaks(name);
    if (keeps) ++keepBreaks;
    stack.push_back({node, 0, block, keeps});
  };
  enter(root);
  while (!stack.empty()) {
    Frame& frame = stack.back();
    const GumboVector& children = frame.node->v.element.children;
    if (frame.next < children.length) {
      const auto* child = static_cast<const GumboNode*>(children.data[frame.next++]);
      enter(child);
      continue;
    }
    if (frame.block) lines.StartLine();
    if (frame.keepsBreaks) --keepBreaks;
    stack.pop_back();
  }
  return lines.Take();
}

std::u16string TitleOf(const GumboNode* document) {
  const GumboNode* title = FindElement(document, "title");
  if (title == nullptr) return {};
  TextLines lines;
  const GumboVector& children = title->v.element.children;
  for (unsigned i = 0; i < children.length; ++i) {
    const auto* child = static_cast<const GumboNode*>(children.data[i]);
    if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE)
      lines.Add(TextOf(child->v.text), false);
  }
  return lines.Take();
}

struct OutputDeleter {
  void operator()(GumboOutput* output) const {
    gumbo_destroy_output(&kGumboDefaultOptions, output);
  }
};

}  // namespace

ReadOutcome<std::u16string> ReadWebPage(std::string_view bytes, std::string_view httpCharset) {
  using Outcome = ReadOutcome<std::u16string>;
  if (bytes.size() > kMaxPageBytes)
    return Outcome::Failure("the page is larger than the " + DescribeByteCount(kMaxPageBytes) +
                            " that can be imported");
  const DecodedPage decoded = DecodePageBytes(bytes, httpCharset);
  const std::string markup = ToUtf8(decoded.Text);
  const PageShape shape = MeasurePage(markup, kMaxNestingDepth, kMaxPageElements);
  if (shape.Depth > kMaxNestingDepth)
    return Outcome::Failure("the page's elements are nested more than " +
                            std::to_string(kMaxNestingDepth) + " deep");
  if (shape.StartTags > kMaxPageElements)
    return Outcome::Failure("the page has more than " + std::to_string(kMaxPageElements) +
                            " elements");
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;  // the parse errors of real pages are many and not needed
  const std::unique_ptr<GumboOutput, OutputDeleter> output(
      gumbo_parse_with_options(&options, markup.data(), markup.size()));
  if (!output) return Outcome::Failure("the page could not be parsed");
  const std::u16string title = TitleOf(output->root);
  std::u16string text = ReadableText(ContentRoot(output->root));
  if (title.empty() || text.starts_with(title)) return Outcome::Success(std::move(text));
  if (text.empty()) return Outcome::Success(title);
  return Outcome::Success(title + u"\n" + text);
}

ReadOutcome<std::u16string> ReadDownloadedArticle(std::string_view bytes,
                                                  std::string_view contentType) {
  std::string type = AsciiLowered(contentType.substr(0, contentType.find(';')));
  while (!type.empty() && IsAsciiSpace(type.back())) type.pop_back();
  while (!type.empty() && IsAsciiSpace(type.front())) type.erase(type.begin());
  const std::string charset = CharsetFromContentType(contentType);
  if (type.empty() || type == "text/html" || type == "application/xhtml+xml" ||
      LooksLikeWebPage(bytes))
    return ReadWebPage(bytes, charset);
  if (type.starts_with("text/")) {
    DecodedPage text = DecodePageBytes(bytes, charset);
    return ReadOutcome<std::u16string>::Success(NormalizeLineBreaks(text.Text));
  }
  return ReadOutcome<std::u16string>::Failure("the address gives a file of type " + type +
                                              ", not a web page or text");
}

}  // namespace vellora
