#include <unistd.h>
#include <QCoreApplication>
#include <csignal>
#include <iostream>

#include "LibraryTool.h"

int main(int argc, char** argv) {
  // Past a file size limit, writes fail with an error the library reports, instead of the
  // signal ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Vellora"));
  return vellora::RunLibraryTool(std::vector<std::string>(argv + 1, argv + argc),
                                 {std::cout, std::cerr, isatty(STDERR_FILENO) == 1});
}
