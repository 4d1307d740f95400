// Showing word colours in an article pane and removing them again: the pane side of the match
// highlighting and of the keyword highlight.
#pragma once

#include <cstdint>
#include <string_view>

#include "ArticlePane.h"
#include "UWords.h"

// Background of the selection, or of the insertion point so that text typed there takes it.
void SetSelBackColor(vellora::ArticlePane& pane, std::int32_t color);

// Inserts one run at the caret: bold on its colour, or plain on white for NoHighlight.
void AppendRun(vellora::ArticlePane& pane, std::u16string_view text, std::int32_t color);

// Makes the whole pane black and plain on white, and puts the caret at the start; text typed
// there is plain too.
void ClearHighlighting(vellora::ArticlePane& pane);

// Rebuilds the pane from the article's stored text as the runs of its word colours. The document
// is built off screen in one pass; the result is the same as appending run by run. The view and
// the caret stay on the same text, and text typed at the caret is plain.
void ApplyWordColors(vellora::ArticlePane& pane, std::u16string_view storedText,
                     const TListWords& words);

namespace vellora {

// The same rebuild done literally, clearing the pane and appending each run at the caret. Slow
// on big texts; kept as the reference that ApplyWordColors must match.
void ApplyWordColorsRunByRun(ArticlePane& pane, std::u16string_view storedText,
                             const TListWords& words);

}  // namespace vellora
