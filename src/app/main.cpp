#include <QApplication>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/autopilot.h"
#include "app/command_line.h"
#include "app/program.h"
#include "app/sandbox_mode.h"
#include "sandbox/market/market_sandbox.h"

namespace {

std::string run_directory(const varnel::app::CommandLine& cl) {
  std::filesystem::path dir = cl.run_dir.empty() ? std::filesystem::path(QCoreApplication::applicationDirPath().toStdString())
                                                 : std::filesystem::absolute(cl.run_dir);
  if (cl.run_dir.empty() && cl.sandbox) dir /= "sandbox";
  std::string s = dir.lexically_normal().string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  // The arguments are checked before any window system is needed, so a mistake is told on any terminal.
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  std::string error;
  auto cl = varnel::app::parse_command_line(args, error);
  if (!cl) {
    std::fprintf(stderr, "varnel: %s\n%s", error.c_str(), varnel::app::kUsage);
    return 2;
  }
  QApplication app(argc, argv);
  const std::string run_dir = run_directory(*cl);

  // Off Windows there is no IM client to drive but the simulated one; an empty desktop finds nothing.
  varnel::sandbox::SimDesktop empty_desktop;
  std::unique_ptr<varnel::app::SandboxMode> sandbox;
  if (cl->sandbox || cl->sandbox_im) {
    sandbox = std::make_unique<varnel::app::SandboxMode>(run_dir, cl->sandbox);
    if (!sandbox->start(error)) {
      std::fprintf(stderr, "varnel: sandbox: %s\n", error.c_str());
      return 1;
    }
  }
  varnel::im::WindowSystem& desktop = sandbox ? sandbox->desktop() : empty_desktop;

  varnel::app::Program program(run_dir, varnel::text::system_clock(), varnel::Timing{}, desktop);
  if (sandbox) program.context().market_login_hint = sandbox->market_login_hint();
  program.show_login();

  std::unique_ptr<varnel::app::Autopilot> autopilot;
  if (cl->autopilot_orders > 0) {
    varnel::app::Credentials market = cl->market_login.value_or(varnel::app::Credentials{
        sandbox && sandbox->market() ? sandbox->market()->account() : "",
        sandbox && sandbox->market() ? sandbox->market()->password() : ""});
    autopilot = std::make_unique<varnel::app::Autopilot>(program, cl->operator_login, market, cl->autopilot_orders,
                                                         cl->autopilot_timeout_s);
    autopilot->start();
  }
  return app.exec();
}
