// Reading a web page (a saved .html file or a downloaded page) as the readable text of its main
// content: what a reader sees, without menus, scripts, banners and forms.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "DocumentImport.h"
#include "PlainImport.h"
#include "ReadOutcome.h"

namespace vellora {

// The readable text: the page's main element, or its only article, or else its body; without
// script, style, noscript, template, head, nav, header, footer, aside, form and hidden elements.
// Blocks start lines, inline elements join, table cells are joined by a space, white space
// collapses, and the title comes first unless the text already begins with it. httpCharset is the
// server's charset for a downloaded page. Pages over the size cap, with too many elements or nested
// too deeply are refused before they are parsed.
ReadOutcome<std::u16string> ReadWebPage(std::string_view bytes, std::string_view httpCharset = {});

// A downloaded answer as an article: pages through ReadWebPage, text/plain as plain text in the
// charset the server named; other types are refused.
ReadOutcome<std::u16string> ReadDownloadedArticle(std::string_view bytes,
                                                  std::string_view contentType);

}  // namespace vellora
