#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <QUrl>
#include <iostream>

#include "app/project_commands.h"
#include "app/qt_dialogs.h"
#include "app/tamsel_window.h"
#include "app/viewport_link.h"
#include "model/read_ahead.h"
#include "viewport/gl_viewport_widget.h"

int main(int argc, char** argv) {
  // The viewport needs a compatibility context; the format must be the default before
  // the application object exists.
  tamsel::GlViewportWidget::SetDefaultFormat();
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Tamsel");
  QApplication::setApplicationName("Tamsel");
  QApplication::setApplicationVersion("0.4");

  QCommandLineParser parser;
  parser.setApplicationDescription("Tamsel: an editor for OPT craft models");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(
      "file",
      "An .opz project to open, or an .opt or .dxf file to import; a path or a file:// URI.",
      "[file]");
  QCommandLineOption quitOption("quit-after-first-frame",
                                "Quit as soon as the first frame is drawn (start-up timing).");
  parser.addOption(quitOption);
  QCommandLineOption shotOption(
      "screenshot", "Write a picture of the window to FILE once it is drawn, then quit.", "FILE");
  QCommandLineOption sizeOption("size", "The window's size for --screenshot.", "WIDTHxHEIGHT",
                                "1280x1024");
  parser.addOption(shotOption);
  parser.addOption(sizeOption);
  parser.process(app);
  // The project the editor is started with is read while the window is built.
  if (!parser.positionalArguments().isEmpty()) {
    const QString file = parser.positionalArguments().first();
    const QString local = file.startsWith("file:") ? QUrl(file).toLocalFile() : file;
    if (local.endsWith(".opz", Qt::CaseInsensitive)) tamsel::ReadProjectAhead(local.toStdString());
  }

  tamsel::QtDialogs dialogs;
  tamsel::TamselWindow window(dialogs);
  dialogs.SetParent(&window);
  if (parser.positionalArguments().isEmpty()) {
    window.Link().SetQuitAfterFirstFrame(parser.isSet(quitOption));
    window.Startup();
  } else {
    window.StartWith(parser.positionalArguments().first());
    // The first frame that counts for timing shows the craft.
    window.Link().SetQuitAfterFirstFrame(parser.isSet(quitOption));
    window.ViewportWidget().Redraw();
  }
  tamsel::DropReadAhead();  // the open took it, or failed before reading
  if (parser.isSet(shotOption)) {
    const QStringList size = parser.value(sizeOption).split('x');
    if (size.size() == 2) window.resize(size[0].toInt(), size[1].toInt());
    // Time for the layout and a frame of the new size before the picture is taken.
    QTimer::singleShot(1500, &window, [&] {
      const bool saved = window.grab().save(parser.value(shotOption));
      if (!saved)
        std::cerr << "tamsel: cannot write " << parser.value(shotOption).toStdString() << "\n";
      QApplication::exit(saved ? 0 : 1);
    });
  }
  return app.exec();
}
