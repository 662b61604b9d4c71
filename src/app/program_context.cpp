#include "app/program_context.h"

#include "store/schema.h"

namespace varnel::app {

std::string ProgramContext::database_path() const { return run_dir + store::kDatabasePath; }

}  // namespace varnel::app
