// How deeply a web page's elements would nest once parsed, estimated by a quick pass over the
// markup before the HTML parser sees it: the parser's work grows with the square of the depth, so
// a page nested too deeply is refused before it is parsed.
#pragma once

#include <cstddef>
#include <string_view>

namespace vellora {

// The deepest nesting of elements the page reaches, following the browsers' rules for the tags
// that close themselves (p, li, table cells, ...) and counting the formatting elements that the
// parser would open again (an unclosed <b> left inside a closed block). It errs on the deep side.
// Stops as soon as the depth passes limit and returns a value above limit.
std::size_t EstimatePageNesting(std::string_view utf8Markup, std::size_t limit);

struct PageShape {
  std::size_t Depth = 0;      // as EstimatePageNesting gives it
  std::size_t StartTags = 0;  // elements the markup opens (the parser's memory grows with them)
};

// Both measures in one pass; stops once the depth passes depthLimit or the start tags pass
// tagLimit, with that measure above its limit.
PageShape MeasurePage(std::string_view utf8Markup, std::size_t depthLimit, std::size_t tagLimit);

}  // namespace vellora
