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

}  // namespace vellora
