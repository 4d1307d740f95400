// Entry of vellora-brand; everything else is in RunBrandTool.
#include <iostream>

#include "BrandTool.h"

int main(int argc, char** argv) {
  return vellora::RunBrandTool({argv + 1, argv + argc}, std::cout, std::cerr);
}
