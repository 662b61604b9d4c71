#include <QApplication>

#include <cstdio>
#include <filesystem>

#include "app/command_line.h"
#include "app/program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  std::string error;
  auto cl = varnel::app::parse_command_line(args, error);
  if (!cl) {
    std::fprintf(stderr, "varnel: %s\nusage: varnel [--run-dir DIR]\n", error.c_str());
    return 2;
  }
  std::string run_dir = cl->run_dir.empty() ? QCoreApplication::applicationDirPath().toStdString()
                                            : std::filesystem::absolute(cl->run_dir).lexically_normal().string();
  while (run_dir.size() > 1 && run_dir.back() == '/') run_dir.pop_back();
  varnel::app::Program program(run_dir, varnel::text::system_clock(), varnel::Timing{});
  program.show_login();
  return app.exec();
}
