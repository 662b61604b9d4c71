// Makes the database the program ships with: the five tables, their indexes and the default account.
#include <cstdio>

#include "store/schema.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_shipped_db PATH\n");
    return 2;
  }
  if (!varnel::store::make_shipped_database(argv[1])) {
    std::fprintf(stderr, "make_shipped_db: cannot make %s\n", argv[1]);
    return 1;
  }
  return 0;
}
