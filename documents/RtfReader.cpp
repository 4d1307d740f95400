#include "RtfReader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "BoundedText.h"
#include "CodePages.h"
#include "ImportLimits.h"

namespace vellora {
namespace {

enum class Destination : std::uint8_t { Body, Skipped, FontTable, ColorTable };

// Character formatting and reading state that a group inherits and restores when it closes.
struct GroupState {
  Destination destination = Destination::Body;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool hidden = false;
  int colorIndex = 0;
  int halfPoints = 0;  // 0: not given, the pane's default size
  int font = -1;
  int unicodeSkip = 1;  // \ucN: how many fallback characters follow each \uN
};

struct Token {
  enum Kind { End, Open, Close, Word, Symbol, Byte } kind = End;
  std::string_view word;
  bool hasParam = false;
  int param = 0;
  unsigned char byte = 0;  // the symbol's character, or a text or \'hh byte
};

bool IsLetter(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}
int HexValue(unsigned char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Destinations whose content is never body text, even without a leading "\*".
bool IsSkippedDestination(std::string_view w) {
  static constexpr std::array<std::string_view, 44> kNames = {"stylesheet",
                                                              "info",
                                                              "pict",
                                                              "header",
                                                              "headerl",
                                                              "headerr",
                                                              "headerf",
                                                              "footer",
                                                              "footerl",
                                                              "footerr",
                                                              "footerf",
                                                              "footnote",
                                                              "annotation",
                                                              "atnid",
                                                              "atnauthor",
                                                              "atndate",
                                                              "atnref",
                                                              "fldinst",
                                                              "objdata",
                                                              "objclass",
                                                              "objname",
                                                              "xe",
                                                              "tc",
                                                              "txe",
                                                              "rxe",
                                                              "bkmkstart",
                                                              "bkmkend",
                                                              "listtable",
                                                              "listoverridetable",
                                                              "revtbl",
                                                              "rsidtbl",
                                                              "generator",
                                                              "themedata",
                                                              "colorschememapping",
                                                              "datastore",
                                                              "latentstyles",
                                                              "pgdsctbl",
                                                              "filetbl",
                                                              "private",
                                                              "nonshppict",
                                                              "shprslt",
                                                              "pn",
                                                              "template",
                                                              "ftnsep"};
  static constexpr std::array<std::string_view, 8> kMore = {
      "ftnsepc", "aftnsep", "aftnsepc", "ftncn", "aftncn", "docvar", "userprops", "shpinst"};
  return std::find(kNames.begin(), kNames.end(), w) != kNames.end() ||
         std::find(kMore.begin(), kMore.end(), w) != kMore.end();
}

bool IsUnderlineOn(std::string_view w) {
  return w.size() >= 2 && w.substr(0, 2) == "ul" && w != "ulnone" && w != "ulc";
}

class RtfParser {
 public:
  explicit RtfParser(std::string_view bytes) : in_(bytes), text_(ImportTextLimit(bytes.size())) {}

  ReadOutcome<ImportedDocument> Run() {
    using Outcome = ReadOutcome<ImportedDocument>;
    bool started = false;
    for (;;) {
      const Token token = Next();
      if (token.kind == Token::End) break;
      if (token.kind == Token::Open) {
        pendingSkip_ = 0;
        FlushBytes();
        if (stack_.size() >= static_cast<std::size_t>(kMaxNestingDepth))
          return Outcome::Failure("its groups are nested more than " +
                                  std::to_string(kMaxNestingDepth) + " deep");
        stack_.push_back(state_);
        started = true;
        continue;
      }
      if (token.kind == Token::Close) {
        pendingSkip_ = 0;
        FlushBytes();
        if (state_.destination == Destination::ColorTable) EndColorEntry(false);
        if (stack_.empty()) break;
        state_ = stack_.back();
        stack_.pop_back();
        if (stack_.empty()) break;  // the document's outermost group has closed
        continue;
      }
      if (!started) continue;
      // After \uN the next \ucN characters are the fallback for older readers.
      if (pendingSkip_ > 0) {
        --pendingSkip_;
        continue;
      }
      if (token.kind == Token::Byte) {
        HandleByte(token.byte);
      } else {
        FlushBytes();
        if (token.kind == Token::Word) {
          HandleWord(token);
        } else {
          HandleSymbol(token.byte);
        }
      }
      if (text_.Overflowed()) return Outcome::Failure("its text is too long");
    }
    FlushBytes();
    if (text_.Overflowed()) return Outcome::Failure("its text is too long");
    DropFinalLineBreak();
    ImportedDocument document;
    document.Text = text_.Take();
    document.Runs = std::move(runs_);
    return Outcome::Success(std::move(document));
  }

 private:
  // Reads the next token; control words are at most 32 letters, numbers saturate.
  Token Next() {
    Token token;
    while (pos_ < in_.size()) {
      const auto c = static_cast<unsigned char>(in_[pos_]);
      if (c == '\r' || c == '\n') {  // line breaks in the file are not text
        ++pos_;
        continue;
      }
      ++pos_;
      if (c == '{') return token.kind = Token::Open, token;
      if (c == '}') return token.kind = Token::Close, token;
      if (c != '\\') {
        token.kind = Token::Byte;
        token.byte = c;
        return token;
      }
      if (pos_ >= in_.size()) break;  // a lone backslash at the end
      const auto d = static_cast<unsigned char>(in_[pos_]);
      if (!IsLetter(d)) {
        ++pos_;
        if (d == '\'') return ReadHexByte();
        token.kind = Token::Symbol;
        token.byte = d;
        return token;
      }
      return ReadWord();
    }
    token.kind = Token::End;
    return token;
  }

  Token ReadHexByte() {
    Token token;
    if (pos_ + 2 > in_.size()) {
      pos_ = in_.size();
      return token;  // cut short: the end
    }
    const int hi = HexValue(static_cast<unsigned char>(in_[pos_]));
    const int lo = HexValue(static_cast<unsigned char>(in_[pos_ + 1]));
    if (hi < 0 || lo < 0) {
      token.kind = Token::Symbol;  // malformed: ignored as an unknown symbol
      token.byte = '\'';
      return token;
    }
    pos_ += 2;
    token.kind = Token::Byte;
    token.byte = static_cast<unsigned char>(hi * 16 + lo);
    return token;
  }

  Token ReadWord() {
    Token token;
    token.kind = Token::Word;
    const std::size_t start = pos_;
    while (pos_ < in_.size() && IsLetter(static_cast<unsigned char>(in_[pos_]))) ++pos_;
    token.word = in_.substr(start, std::min<std::size_t>(pos_ - start, 32));
    bool negative = false;
    if (pos_ + 1 < in_.size() && in_[pos_] == '-' &&
        IsDigit(static_cast<unsigned char>(in_[pos_ + 1]))) {
      negative = true;
      ++pos_;
    }
    std::int64_t value = 0;
    while (pos_ < in_.size() && IsDigit(static_cast<unsigned char>(in_[pos_]))) {
      token.hasParam = true;
      value = std::min<std::int64_t>(value * 10 + (in_[pos_] - '0'), INT32_MAX);
      ++pos_;
    }
    token.param = static_cast<int>(negative ? -value : value);
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    if (token.word == "bin") {
      // Binary data of the given length follows; it is never text.
      const std::size_t length = token.param > 0 ? static_cast<std::size_t>(token.param) : 0;
      pos_ += std::min(length, in_.size() - pos_);
    }
    return token;
  }

  void HandleByte(unsigned char b) {
    switch (state_.destination) {
      case Destination::ColorTable:
        if (b == ';') EndColorEntry(true);
        return;
      case Destination::FontTable:
      case Destination::Skipped:
        return;
      case Destination::Body:
        break;
    }
    if (b == '\t') {
      FlushBytes();
      Emit(u"\t");
      return;
    }
    if (b < 0x20 || state_.hidden) return;
    const int codePage = CurrentCodePage();
    if (!pendingBytes_.empty() && pendingCodePage_ != codePage) FlushBytes();
    pendingCodePage_ = codePage;
    pendingBytes_.push_back(static_cast<char>(b));
  }

  void HandleSymbol(unsigned char c) {
    switch (c) {
      case '*':
        state_.destination = Destination::Skipped;
        return;
      case '\\':
      case '{':
      case '}':
        HandleByte(c);
        return;
      case '~':
        Emit(u"\u00A0");
        return;
      case '_':
        Emit(u"-");
        return;
      case '\t':
        Emit(u"\t");
        return;
      case '\n':
      case '\r':
        Emit(u"\n");
        return;  // a backslash before a line break is \par
      default:
        return;  // \- optional hyphen, \: index entries, \| and unknown symbols
    }
  }

  void HandleWord(const Token& t) {
    const std::string_view w = t.word;
    const int p = t.param;
    // Reading state that holds in every destination.
    if (w == "u") {
      // Values above 32767 are written negative; anything outside 16 bits is clamped.
      const int unit = p < 0 ? std::max(p, -32768) + 65536 : std::min(p, 65535);
      Emit(std::u16string(1, static_cast<char16_t>(unit)));
      pendingSkip_ = state_.unicodeSkip;
      return;
    }
    if (w == "uc") {
      state_.unicodeSkip = std::max(0, p);
      return;
    }
    if (state_.destination == Destination::Skipped) return;
    if (w == "fonttbl") {
      state_.destination = Destination::FontTable;
      return;
    }
    if (w == "colortbl") {
      state_.destination = Destination::ColorTable;
      colorOpen_ = false;
      return;
    }
    if (IsSkippedDestination(w)) {
      state_.destination = Destination::Skipped;
      return;
    }
    if (state_.destination == Destination::FontTable) {
      if (w == "f") fontEntry_ = p;
      if (w == "fcharset") SetFontCodePage(CodePageForCharset(p));
      if (w == "cpg") SetFontCodePage(p);
      return;
    }
    if (state_.destination == Destination::ColorTable) {
      const int component = std::clamp(p, 0, 255);
      if (w == "red") colorValue_ = (colorValue_ & 0x00FFFFu) | (component << 16);
      if (w == "green") colorValue_ = (colorValue_ & 0xFF00FFu) | (component << 8);
      if (w == "blue") colorValue_ = (colorValue_ & 0xFFFF00u) | component;
      if (w == "red" || w == "green" || w == "blue") colorOpen_ = true;
      return;
    }
    HandleBodyWord(w, t.hasParam, p);
  }

  void HandleBodyWord(std::string_view w, bool hasParam, int p) {
    const bool on = !hasParam || p != 0;
    if (w == "par" || w == "sect" || w == "page") {
      Emit(u"\n");
      paragraphJustEnded_ = true;
    } else if (w == "cell" || w == "nestcell") {
      // A cell ends its last paragraph unless a \par already did.
      if (!paragraphJustEnded_) Emit(u"\n");
      paragraphJustEnded_ = true;
    } else if (w == "line") {
      Emit(u"\n");
    } else if (w == "tab") {
      Emit(u"\t");
    } else if (w == "emdash") {
      Emit(u"\u2014");
    } else if (w == "endash") {
      Emit(u"\u2013");
    } else if (w == "bullet") {
      Emit(u"\u2022");
    } else if (w == "lquote") {
      Emit(u"\u2018");
    } else if (w == "rquote") {
      Emit(u"\u2019");
    } else if (w == "ldblquote") {
      Emit(u"\u201C");
    } else if (w == "rdblquote") {
      Emit(u"\u201D");
    } else if (w == "emspace") {
      Emit(u"\u2003");
    } else if (w == "enspace") {
      Emit(u"\u2002");
    } else if (w == "qmspace") {
      Emit(u"\u2005");
    } else if (w == "b") {
      state_.bold = on;
    } else if (w == "i") {
      state_.italic = on;
    } else if (w == "ulnone") {
      state_.underline = false;
    } else if (IsUnderlineOn(w)) {
      state_.underline = on;
    } else if (w == "v") {
      state_.hidden = on;
    } else if (w == "cf") {
      state_.colorIndex = std::max(0, p);
    } else if (w == "fs") {
      state_.halfPoints = std::clamp(p, 0, 3276);
    } else if (w == "f") {
      state_.font = p;
    } else if (w == "plain") {
      const GroupState keep = state_;
      state_ = GroupState{};
      state_.destination = keep.destination;
      state_.unicodeSkip = keep.unicodeSkip;
      state_.font = defaultFont_;
    } else if (w == "ansicpg") {
      if (p > 0) codePage_ = p;
    } else if (w == "ansi") {
      codePage_ = kDefaultCodePage;
    } else if (w == "mac") {
      codePage_ = 10000;
    } else if (w == "pc") {
      codePage_ = 437;
    } else if (w == "pca") {
      codePage_ = 850;
    } else if (w == "deff") {
      defaultFont_ = p;
      state_.font = p;
    }
  }

  void SetFontCodePage(int codePage) {
    if (codePage > 0 && fontCodePages_.size() < 65536) fontCodePages_[fontEntry_] = codePage;
  }

  void EndColorEntry(bool atSemicolon) {
    if (!atSemicolon && !colorOpen_) return;
    if (colors_.size() < 65536)
      colors_.push_back(colorOpen_ ? std::optional<std::uint32_t>(colorValue_) : std::nullopt);
    colorOpen_ = false;
    colorValue_ = 0;
  }

  int CurrentCodePage() const {
    const auto it = fontCodePages_.find(state_.font);
    return it != fontCodePages_.end() ? it->second : codePage_;
  }

  void FlushBytes() {
    if (pendingBytes_.empty()) return;
    const std::u16string decoded = DecodeCodePage(pendingBytes_, pendingCodePage_);
    pendingBytes_.clear();
    Emit(decoded);
  }

  void Emit(std::u16string_view text) {
    if (state_.destination != Destination::Body || state_.hidden || text.empty()) return;
    if (!text_.Append(text)) return;
    paragraphJustEnded_ = false;
    FormattedRun format;
    format.Bold = state_.bold;
    format.Italic = state_.italic;
    format.Underline = state_.underline;
    if (state_.colorIndex >= 0 && static_cast<std::size_t>(state_.colorIndex) < colors_.size())
      format.Color = colors_[static_cast<std::size_t>(state_.colorIndex)];
    format.PointSize = state_.halfPoints / 2.0;
    if (!runs_.empty()) {
      FormattedRun& last = runs_.back();
      if (last.Bold == format.Bold && last.Italic == format.Italic &&
          last.Underline == format.Underline && last.Color == format.Color &&
          last.PointSize == format.PointSize) {
        last.Text.append(text);
        return;
      }
    }
    format.Text.assign(text);
    runs_.push_back(std::move(format));
  }

  // The last paragraph mark ends the last line rather than starting an empty one.
  void DropFinalLineBreak() {
    if (runs_.empty() || runs_.back().Text.empty() || runs_.back().Text.back() != u'\n') return;
    runs_.back().Text.pop_back();
    if (runs_.back().Text.empty()) runs_.pop_back();
    text_.RemoveLast();
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  GroupState state_;
  std::vector<GroupState> stack_;
  int pendingSkip_ = 0;
  int codePage_ = kDefaultCodePage;
  int defaultFont_ = -1;
  int fontEntry_ = -1;
  std::map<int, int> fontCodePages_;
  std::vector<std::optional<std::uint32_t>> colors_;
  std::uint32_t colorValue_ = 0;
  bool colorOpen_ = false;
  bool paragraphJustEnded_ = false;
  std::string pendingBytes_;
  int pendingCodePage_ = kDefaultCodePage;
  BoundedText text_;
  std::vector<FormattedRun> runs_;
};

}  // namespace

ReadOutcome<ImportedDocument> ReadRtf(std::string_view bytes) {
  return RtfParser(bytes).Run();
}

}  // namespace vellora
