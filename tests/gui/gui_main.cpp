#include <gtest/gtest.h>

#include <dlfcn.h>

#include <QApplication>
#include <string>

#include "viewport/glx_ctl.h"

int main(int argc, char** argv) {
  // Mesa unloads its driver at exit, and LeakSanitizer then cannot name the module of the
  // driver's own leaks. Keeping it mapped lets the suppressions match it by name.
  for (const char* driver : {"swrast_dri.so", "kms_swrast_dri.so"})
    dlopen((std::string(TAMSEL_DRI_DIR "/") + driver).c_str(), RTLD_NOW | RTLD_NODELETE);
  tamsel::GlxCtl::SetDefaultFormat();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
