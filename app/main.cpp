#include <QApplication>
#include <QCommandLineParser>
#include <iostream>

#include "app/qt_dialogs.h"
#include "app/tamsel_window.h"
#include "viewport/glx_ctl.h"

int main(int argc, char** argv) {
  // The viewport needs a compatibility context; the format must be the default before
  // the application object exists.
  tamsel::GlxCtl::SetDefaultFormat();
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Tamsel");
  QApplication::setApplicationName("Tamsel");
  QApplication::setApplicationVersion("0.4");

  QCommandLineParser parser;
  parser.setApplicationDescription("Tamsel: an editor for OPT craft models");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument("project", "An .opz project file to open.", "[project.opz]");
  QCommandLineOption quitOption("quit-after-first-frame",
                                "Quit as soon as the first frame is drawn (start-up timing).");
  parser.addOption(quitOption);
  parser.process(app);

  tamsel::QtDialogs dialogs;
  tamsel::TamselWindow window(dialogs);
  dialogs.SetParent(&window);
  window.SetQuitAfterFirstFrame(parser.isSet(quitOption));
  window.Startup();
  if (!parser.positionalArguments().isEmpty())
    window.OpenProjectFile(parser.positionalArguments().first());
  return app.exec();
}
