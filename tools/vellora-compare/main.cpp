#include <iostream>

#include "CompareTool.h"
#include "ImportedArticle.h"

int main(int argc, char** argv) {
  return vellora::RunCompareTool(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                 std::cerr, vellora::ReadImportedArticle);
}
