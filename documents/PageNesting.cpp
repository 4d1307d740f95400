#include "PageNesting.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace vellora {
namespace {

enum Flag : unsigned {
  kVoid = 1u << 0,
  kRawText =
      1u << 1,  // style, xmp, iframe, noembed, noframes, title, textarea: text to its end tag
  kScript = 1u << 2,
  kPlainText = 1u << 3,
  kSpecial = 1u << 4,   // the parser's "special" elements
  kBoundary = 1u << 5,  // ends the default scope
  kClosesP = 1u << 6,
  kFormatting = 1u << 7,
  kHeading = 1u << 8,
  kMarker = 1u << 9,    // opens a new level of the active formatting elements
  kForeign = 1u << 10,  // svg, math
  kNotCounted = 1u << 11,
  kLooseSpecial = 1u << 12,  // address, div, p: do not stop the search for an open li, dd or dt
};

const std::unordered_map<std::string_view, unsigned>& Flags() {
  static const std::unordered_map<std::string_view, unsigned> table = [] {
    std::unordered_map<std::string_view, unsigned> t;
    const auto add = [&t](std::initializer_list<std::string_view> names, unsigned flags) {
      for (std::string_view n : names) t[n] |= flags;
    };
    add({"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr", "img", "image",
         "input", "keygen", "link", "meta", "param", "source", "track", "wbr"},
        kVoid);
    add({"style", "xmp", "iframe", "noembed", "noframes", "title", "textarea"}, kRawText);
    add({"script"}, kScript);
    add({"plaintext"}, kPlainText);
    add({"address", "applet",     "area",     "article",    "aside",     "base",     "basefont",
         "bgsound", "blockquote", "body",     "br",         "button",    "caption",  "center",
         "col",     "colgroup",   "dd",       "details",    "dir",       "div",      "dl",
         "dt",      "embed",      "fieldset", "figcaption", "figure",    "footer",   "form",
         "frame",   "frameset",   "h1",       "h2",         "h3",        "h4",       "h5",
         "h6",      "head",       "header",   "hgroup",     "hr",        "html",     "iframe",
         "img",     "input",      "keygen",   "li",         "link",      "listing",  "main",
         "marquee", "menu",       "meta",     "nav",        "noembed",   "noframes", "noscript",
         "object",  "ol",         "p",        "param",      "plaintext", "pre",      "script",
         "search",  "section",    "select",   "source",     "style",     "summary",  "table",
         "tbody",   "td",         "template", "textarea",   "tfoot",     "th",       "thead",
         "title",   "tr",         "track",    "ul",         "wbr",       "xmp"},
        kSpecial);
    add({"applet", "caption", "html", "table", "td", "th", "marquee", "object", "template"},
        kBoundary);
    add({"address", "article", "aside",   "blockquote", "center",     "details", "dialog",
         "dir",     "div",     "dl",      "fieldset",   "figcaption", "figure",  "footer",
         "header",  "hgroup",  "main",    "menu",       "nav",        "ol",      "p",
         "search",  "section", "summary", "ul",         "h1",         "h2",      "h3",
         "h4",      "h5",      "h6",      "pre",        "listing",    "form",    "plaintext",
         "table",   "hr",      "xmp",     "li",         "dd",         "dt"},
        kClosesP);
    add({"a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small", "strike", "strong", "tt",
         "u"},
        kFormatting);
    add({"h1", "h2", "h3", "h4", "h5", "h6"}, kHeading);
    add({"applet", "object", "marquee", "template", "td", "th", "caption"}, kMarker);
    add({"svg", "math"}, kForeign);
    add({"html", "head", "body"}, kNotCounted);
    add({"address", "div", "p"}, kLooseSpecial);
    return t;
  }();
  return table;
}

unsigned FlagsOf(std::string_view name) {
  const auto& table = Flags();
  const auto it = table.find(name);
  return it == table.end() ? 0u : it->second;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool IsAlpha(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when s at i holds "</name" (any case) followed by a space, "/" or ">".
bool EndTagAt(std::string_view s, std::size_t i, std::string_view name) {
  if (i + 2 + name.size() >= s.size() || s[i] != '<' || s[i + 1] != '/') return false;
  for (std::size_t k = 0; k < name.size(); ++k)
    if (Lower(s[i + 2 + k]) != name[k]) return false;
  const char after = s[i + 2 + name.size()];
  return IsSpace(after) || after == '/' || after == '>';
}

bool StartTagAt(std::string_view s, std::size_t i, std::string_view name) {
  if (i + 1 + name.size() >= s.size() || s[i] != '<') return false;
  for (std::size_t k = 0; k < name.size(); ++k)
    if (Lower(s[i + 1 + k]) != name[k]) return false;
  const char after = s[i + 1 + name.size()];
  return IsSpace(after) || after == '/' || after == '>';
}

// Where the text of a raw-text element opened just before `from` ends: the position of its end
// tag, or npos. Script text follows the parser's escaped states, in which "</script>" inside
// "<!--<script>...-->" does not end it.
std::size_t RawTextEnd(std::string_view s, std::size_t from, std::string_view name, bool script) {
  enum class State { Data, Escaped, DoubleEscaped } state = State::Data;
  for (std::size_t i = from; i < s.size(); ++i) {
    if (s[i] != '<' && s[i] != '-') continue;
    if (!script) {
      if (EndTagAt(s, i, name)) return i;
      continue;
    }
    switch (state) {
      case State::Data:
        if (s.substr(i).starts_with("<!--")) {
          state = State::Escaped;
          i += 3;
        } else if (EndTagAt(s, i, name)) {
          return i;
        }
        break;
      case State::Escaped:
        if (s.substr(i).starts_with("-->")) {
          state = State::Data;
          i += 2;
        } else if (EndTagAt(s, i, name)) {
          return i;
        } else if (StartTagAt(s, i, name)) {
          state = State::DoubleEscaped;
        }
        break;
      case State::DoubleEscaped:
        if (s.substr(i).starts_with("-->")) {
          state = State::Data;
          i += 2;
        } else if (EndTagAt(s, i, name)) {
          state = State::Escaped;
          i += 1 + name.size();
        }
        break;
    }
  }
  return std::string_view::npos;
}

class NestingModel {
 public:
  explicit NestingModel(std::size_t limit) : limit_(limit) {}

  std::size_t Deepest() const { return deepest_; }
  bool InForeignContent() const { return foreign_ > 0; }
  bool OverLimit() const { return deepest_ > limit_; }

  void StartTag(const std::string& name, const std::string& key, bool selfClosing) {
    const unsigned flags = FlagsOf(name);
    if (flags & kNotCounted) return;
    if (foreign_ > 0) {
      if (!selfClosing) Push(name, key, flags);
      return;
    }
    if ((flags & kForeign) && selfClosing) return;
    if (flags & kClosesP) {
      const int p = Last("p");
      if (p >= 0 && !AnyAbove(buttonScope_, p)) PopTo(p);
    }
    if (name == "li") {
      CloseListItem({"li"});
    } else if (name == "dd" || name == "dt") {
      CloseListItem({"dd", "dt"});
    } else if ((flags & kHeading) && !stack_.empty() && (stack_.back().flags & kHeading)) {
      PopTo(static_cast<int>(stack_.size()) - 1);
    } else if (name == "option" || name == "optgroup") {
      if (TopIs("option")) PopTo(static_cast<int>(stack_.size()) - 1);
      if (name == "optgroup" && TopIs("optgroup")) PopTo(static_cast<int>(stack_.size()) - 1);
    } else if (name == "td" || name == "th" || name == "tr") {
      const int table = Last("table");
      const int cell = std::max(Last("td"), Last("th"));
      if (cell > table) PopTo(cell);
      if (name == "tr" && Last("tr") > table) PopTo(Last("tr"));
      if (table >= 0 && TopIs("table")) Push("tbody", "tbody", 0);
      if (name != "tr" && (TopIs("tbody") || TopIs("thead") || TopIs("tfoot"))) Push("tr", "tr", 0);
    } else if (name == "tbody" || name == "thead" || name == "tfoot") {
      const int table = Last("table");
      if (table >= 0) PopTo(table + 1);
    } else if (name == "a" || name == "nobr" || name == "button") {
      const int open = Last(name);
      if (open >= 0 && !AnyAbove(special_, open) && !AnyAbove(markers_, open)) PopTo(open);
    }
    if ((flags & kVoid) || (selfClosing && (flags & kForeign))) return;
    Push(name, key, flags);
  }

  void EndTag(const std::string& name) {
    const unsigned flags = FlagsOf(name);
    if ((flags & kNotCounted) || name == "br") return;
    int target = Last(name);
    if (flags & kHeading) {
      for (const char* h : {"h1", "h2", "h3", "h4", "h5", "h6"}) target = std::max(target, Last(h));
    }
    if (target < 0) {
      if (flags & kFormatting) RemoveOrphan(name);
      return;
    }
    if (stack_[static_cast<std::size_t>(target)].flags & kForeign || foreign_ > 0) {
      if (!AnyAbove(boundary_, target)) PopTo(target);
      return;
    }
    if (flags & kSpecial) {
      const std::vector<int>& scope =
          name == "p" ? buttonScope_ : (name == "li" ? listScope_ : boundary_);
      if (!AnyAbove(scope, target)) PopTo(target);
      return;
    }
    // Formatting and other elements close only when no special element lies above them; otherwise
    // the parser keeps the depth (it moves the block under a copy of the formatting element).
    if (!AnyAbove(special_, target)) PopTo(target);
  }

 private:
  struct Open {
    int name;
    int key;
    unsigned flags;
  };

  int Intern(std::unordered_map<std::string, int>& ids, const std::string& text) {
    const auto [it, added] = ids.try_emplace(text, static_cast<int>(ids.size()));
    return it->second;
  }
  int NameId(const std::string& name) {
    const int id = Intern(names_, name);
    if (static_cast<std::size_t>(id) >= positions_.size()) positions_.resize(id + 1);
    return id;
  }
  int Last(const std::string& name) {
    const auto& list = positions_[static_cast<std::size_t>(NameId(name))];
    return list.empty() ? -1 : list.back();
  }
  bool TopIs(const char* name) { return !stack_.empty() && stack_.back().name == NameId(name); }
  static bool AnyAbove(const std::vector<int>& positions, int at) {
    return !positions.empty() && positions.back() > at;
  }

  void CloseListItem(std::initializer_list<const char*> names) {
    int item = -1;
    for (const char* n : names) item = std::max(item, Last(n));
    if (item >= 0 && !AnyAbove(strictSpecial_, item)) PopTo(item);
  }

  void Push(const std::string& name, const std::string& key, unsigned flags) {
    const int position = static_cast<int>(stack_.size());
    const int id = NameId(name);
    stack_.push_back({id, (flags & kFormatting) ? Intern(keys_, key) : -1, flags});
    positions_[static_cast<std::size_t>(id)].push_back(position);
    const bool listBoundary = name == "ol" || name == "ul";
    if (flags & kSpecial) special_.push_back(position);
    if ((flags & kSpecial) && !(flags & kLooseSpecial)) strictSpecial_.push_back(position);
    if (flags & kBoundary) boundary_.push_back(position);
    if ((flags & kBoundary) || name == "button") buttonScope_.push_back(position);
    if ((flags & kBoundary) || listBoundary) listScope_.push_back(position);
    if (flags & kMarker) {
      markers_.push_back(position);
      orphanMarks_.push_back(orphans_.size());
    }
    if (flags & kForeign) ++foreign_;
    Measure();
  }

  // Pops the element at `position` and everything above it. Formatting elements closed on the
  // way stay open for the parser, which opens them again in what follows.
  void PopTo(int position) {
    while (static_cast<int>(stack_.size()) > position) {
      const Open top = stack_.back();
      const int at = static_cast<int>(stack_.size()) - 1;
      stack_.pop_back();
      positions_[static_cast<std::size_t>(top.name)].pop_back();
      for (auto* list : {&special_, &strictSpecial_, &boundary_, &buttonScope_, &listScope_})
        if (!list->empty() && list->back() == at) list->pop_back();
      if (!markers_.empty() && markers_.back() == at) {
        markers_.pop_back();
        orphans_.resize(orphanMarks_.back());
        orphanMarks_.pop_back();
      }
      if (top.flags & kForeign) --foreign_;
      if ((top.flags & kFormatting) && at != position) AddOrphan(top);
    }
  }

  void AddOrphan(const Open& element) {
    // Like the parser, keep at most three identical formatting elements since the last marker.
    const std::size_t from = orphanMarks_.empty() ? 0 : orphanMarks_.back();
    int same = 0;
    std::size_t earliest = orphans_.size();
    for (std::size_t i = orphans_.size(); i-- > from;) {
      if (orphans_[i].key == element.key) {
        ++same;
        earliest = i;
      }
    }
    if (same >= 3) orphans_.erase(orphans_.begin() + static_cast<std::ptrdiff_t>(earliest));
    orphans_.push_back(element);
    Measure();
  }

  void RemoveOrphan(const std::string& name) {
    const int id = NameId(name);
    const std::size_t from = orphanMarks_.empty() ? 0 : orphanMarks_.back();
    for (std::size_t i = orphans_.size(); i-- > from;) {
      if (orphans_[i].name == id) {
        orphans_.erase(orphans_.begin() + static_cast<std::ptrdiff_t>(i));
        return;
      }
    }
  }

  void Measure() {
    // html, head and body sit above everything.
    const std::size_t depth = stack_.size() + orphans_.size() + 3;
    if (depth > deepest_) deepest_ = depth;
  }

  std::size_t limit_;
  std::size_t deepest_ = 3;
  std::vector<Open> stack_;
  std::unordered_map<std::string, int> names_;
  std::unordered_map<std::string, int> keys_;
  std::vector<std::vector<int>> positions_;  // per name: where it is open on the stack
  std::vector<int> special_, strictSpecial_, boundary_, buttonScope_, listScope_, markers_;
  std::vector<Open> orphans_;
  std::vector<std::size_t> orphanMarks_;
  int foreign_ = 0;
};

}  // namespace

std::size_t EstimatePageNesting(std::string_view s, std::size_t limit) {
  return MeasurePage(s, limit, static_cast<std::size_t>(-1)).Depth;
}

PageShape MeasurePage(std::string_view s, std::size_t limit, std::size_t tagLimit) {
  NestingModel model(limit);
  std::size_t startTags = 0;
  std::size_t i = 0;
  std::string name;
  std::string key;
  while (i < s.size() && !model.OverLimit() && startTags <= tagLimit) {
    const std::size_t lt = s.find('<', i);
    if (lt == std::string_view::npos) break;
    i = lt;
    const std::string_view rest = s.substr(i);
    if (rest.starts_with("<!--")) {
      const std::size_t end = s.find("-->", i + 2);
      if (end == std::string_view::npos) break;
      i = end + 3;
      continue;
    }
    const bool endTag = rest.size() > 2 && rest[1] == '/' && IsAlpha(rest[2]);
    const bool startTag = rest.size() > 1 && IsAlpha(rest[1]);
    if (!endTag && !startTag) {
      if (rest.starts_with("<!") || rest.starts_with("<?") || rest.starts_with("</")) {
        const std::size_t end = s.find('>', i + 1);
        if (end == std::string_view::npos) break;
        i = end + 1;
      } else {
        ++i;
      }
      continue;
    }
    std::size_t j = i + (endTag ? 2 : 1);
    name.clear();
    while (j < s.size() && !IsSpace(s[j]) && s[j] != '/' && s[j] != '>')
      name.push_back(Lower(s[j++]));
    // Attributes: quoted values may hold ">".
    const std::size_t attributesFrom = j;
    bool selfClosing = false;
    while (j < s.size() && s[j] != '>') {
      if (s[j] == '=') {
        ++j;
        while (j < s.size() && IsSpace(s[j])) ++j;
        if (j < s.size() && (s[j] == '"' || s[j] == '\'')) {
          const std::size_t close = s.find(s[j], j + 1);
          j = close == std::string_view::npos ? s.size() : close + 1;
        }
        continue;
      }
      ++j;
    }
    if (j >= s.size()) break;  // a tag cut off by the end of the page is dropped
    selfClosing = j > attributesFrom && s[j - 1] == '/';
    i = j + 1;
    if (endTag) {
      model.EndTag(name);
      continue;
    }
    key = name;
    key.append(s.substr(attributesFrom, j - attributesFrom));
    ++startTags;
    model.StartTag(name, key, selfClosing);
    const unsigned flags = FlagsOf(name);
    if (flags & kPlainText) break;
    // Inside svg and math, <style>, <title> and <script> hold markup like any other element.
    if ((flags & (kRawText | kScript)) && !model.InForeignContent()) {
      const std::size_t end = RawTextEnd(s, i, name, (flags & kScript) != 0);
      if (end == std::string_view::npos) break;
      i = end;
    }
  }
  return {model.Deepest(), startTags};
}

}  // namespace vellora
