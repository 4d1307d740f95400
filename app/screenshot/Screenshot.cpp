// Makes the README's picture of the main window: the program with the brand next to it, the two
// sample articles imported, Compare at a minimum of three words and the keyword "content"
// counted in Article 1, saved as a PNG.
//   vellora-screenshot OUTPUT.png ARTICLE1 ARTICLE2
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPixmap>
#include <QSpinBox>
#include <QTimer>
#include <cstdio>

#include "FMain.h"
#include "VelloraApplication.h"

int main(int argc, char** argv) {
  vellora::Application application(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: vellora-screenshot OUTPUT.png ARTICLE1 ARTICLE2\n");
    return 2;
  }
  const QString output = QString::fromLocal8Bit(argv[1]);
  const QString article1 = QString::fromLocal8Bit(argv[2]);
  const QString article2 = QString::fromLocal8Bit(argv[3]);

  TfrmMain window;
  window.resize(1180, 760);
  window.show();

  int status = 1;
  QTimer::singleShot(500, [&] {
    window.btnThanksClick();  // the demo brand opens on a welcome page
    QString next = article1;
    window.SetFileChooser([&](QFileDialog&) { return next; });
    window.btnImport1Click();
    next = article2;
    window.btnImport2Click();
    window.findChild<QSpinBox*>("minNumWords")->setValue(3);
    window.btnCompareExClick();
    window.findChild<QLineEdit*>("edtKw1")->setText("content");
    window.btnCalculateKwDensity1Click();
    QTimer::singleShot(800, [&] {
      status = window.grab().save(output) ? 0 : 1;
      if (status != 0) std::fprintf(stderr, "cannot write %s\n", argv[1]);
      window.close();
    });
  });
  application.exec();
  return status;
}
