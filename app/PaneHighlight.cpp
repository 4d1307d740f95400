#include "PaneHighlight.h"

#include "URuns.h"

void SetSelBackColor(vellora::ArticlePane& pane, std::int32_t color) {
  pane.SetSelBackColor(color);
}

void AppendRun(vellora::ArticlePane& pane, std::u16string_view text, std::int32_t color) {
  pane.SetSelBold(color != NoHighlight);
  SetSelBackColor(pane, color);
  pane.SetSelTextColor(0x000000);
  pane.ReplaceSelection(text);
}

void ClearHighlighting(vellora::ArticlePane& pane) {
  // Formatting the whole text through a selection would first scroll to its end, laying out
  // the whole text at once; the result is the same.
  pane.MakeAllPlain();
  pane.Select(0, 0);
  pane.MakeInsertionPlain();
}

void ApplyWordColors(vellora::ArticlePane& pane, std::u16string_view storedText,
                     const TListWords& words) {
  // Clearing first, as the run-by-run rebuild does, would only format text that is about to be
  // replaced as a whole. The rebuilt pane shows the part of the text the user was looking at,
  // with the caret where it was: the text is the same, only its colours change.
  const vellora::ArticlePane::View view = pane.SaveView();
  pane.RebuildFromRuns(storedText, BuildRuns(storedText, words));
  pane.RestoreView(view);
  pane.MakeInsertionPlain();
}

namespace vellora {

void ApplyWordColorsRunByRun(ArticlePane& pane, std::u16string_view storedText,
                             const TListWords& words) {
  ClearHighlighting(pane);
  pane.Clear();
  for (const TextRun& run : BuildRuns(storedText, words)) {
    AppendRun(pane,
              storedText.substr(static_cast<std::size_t>(run.Start),
                                static_cast<std::size_t>(run.Length)),
              run.Color);
  }
}

}  // namespace vellora
