// The about box: the brand's application name, the program version, the copyright line and the
// brand's about text, in a small modal window made anew for every click on About.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <string_view>

#include "BrandSettings.h"

namespace Ui {
class TfrmAbout;
}

class TfrmAbout : public QDialog {
  Q_OBJECT

 public:
  // Shows the process-wide brand settings.
  explicit TfrmAbout(QWidget* parent = nullptr);
  // Shows the given brand settings.
  explicit TfrmAbout(const vellora::BrandSettingsRecord& settings, QWidget* parent = nullptr);
  ~TfrmAbout() override;

 public slots:
  void editAboutClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate(const vellora::BrandSettingsRecord& settings);
  // Makes the text area, and the box with it, tall enough for the about text without a line cut
  // at its lower edge, up to a limit beyond which the scroll bar serves.
  void FitTextArea();

  static constexpr int kDesignWidth = 368;
  static constexpr int kDesignHeight = 211;

  std::unique_ptr<Ui::TfrmAbout> ui;
  bool centred_ = false;
};

namespace vellora {

// The texts of the box, composed from the brand's 8-bit (Windows-1252) fields.
QString AboutCaption(const BrandSettingsRecord& settings);   // "About <name>..."
QString ProductVersionLine();                                // "Product Version: 2.0"
QString CopyrightLine(const BrandSettingsRecord& settings);  // "Copyright (c) <years> <company>"
// The about text with its lines split at CR, LF or CR LF and joined by LF.
QString AboutTextForDisplay(std::string_view aboutText);

// The About command: a new box on the process-wide brand settings, shown modally over parent
// and destroyed once it is closed.
void ShowAboutBox(QWidget* parent);

}  // namespace vellora
