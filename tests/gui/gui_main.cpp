#include <gtest/gtest.h>

#include <dlfcn.h>

#include <QApplication>
#include <QSettings>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "viewport/gl_viewport_widget.h"

int main(int argc, char** argv) {
  // Mesa unloads its driver at exit, and LeakSanitizer then cannot name the module of the
  // driver's own leaks. Keeping it mapped lets the suppressions match it by name.
  for (const char* driver : {"swrast_dri.so", "kms_swrast_dri.so"})
    dlopen((std::string(TAMSEL_DRI_DIR "/") + driver).c_str(), RTLD_NOW | RTLD_NODELETE);
  // Settings (the recent projects) go to a folder of this run, never the user's own.
  char config[] = "/tmp/tamsel-gui-config-XXXXXX";
  if (!mkdtemp(config)) return 2;
  setenv("XDG_CONFIG_HOME", config, 1);
  tamsel::GlViewportWidget::SetDefaultFormat();
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Tamsel");
  QApplication::setApplicationName("Tamsel");
  // The ground grid and the axes gizmo would lie across the pixels the tests read: off, but
  // where a test turns them on.
  QSettings().setValue("viewport/grid", false);
  QSettings().setValue("viewport/axes", false);
  ::testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  std::error_code ec;
  std::filesystem::remove_all(config, ec);
  return status;
}
