// The store at the scale of a large shop: a million card keys.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "store/db_connection.h"
#include "store/db_recordset.h"
#include "store/db_bulk_insert.h"
#include "store/schema.h"

using namespace varnel::store;

namespace {

constexpr int kKeys = 1'000'000;
const char* const kItem = "测试商品 月卡";

std::string temp_db(const char* name) {
  auto dir = std::filesystem::temp_directory_path() / "varnel-bench";
  std::filesystem::create_directories(dir);
  auto path = dir / name;
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path.string() + suffix);
  return path.string();
}

// Inserts `count` unused card keys of item 1 in one transaction, the way the import does.
bool insert_keys(DbConnection& db, int count) {
  if (!db.begin_transaction()) return false;
  DbBulkInsert insert(db, "卡密表", {"帐号", "密码", "商品名ID", "是否已使用"});
  for (int i = 0; i < count; ++i) {
    if (!insert.add({db_text("account" + std::to_string(i)), db_text("pw" + std::to_string(i * 7919LL)), db_int(1),
                     db_text("否")})) {
      db.rollback_transaction();
      return false;
    }
  }
  if (!insert.finish()) {
    db.rollback_transaction();
    return false;
  }
  return db.commit_transaction();
}

// One database of a million keys (the first tenth already used), made once for the reading benchmarks.
DbConnection& million_keys() {
  static DbConnection db;
  static bool made = [] {
    std::string path = temp_db("million.mdb");
    return db.create(path, kDatabasePassword) && create_schema(db) &&
           db.execute("INSERT INTO 商品名表 (商品名称) VALUES (?)", {db_text(kItem)}) && insert_keys(db, kKeys) &&
           db.execute("UPDATE 卡密表 SET 是否已使用='是' WHERE ID <= ?", {db_int(kKeys / 10)});
  }();
  if (!made) std::abort();
  return db;
}

void BM_ImportCardKeys(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    DbConnection db;
    if (!db.create(temp_db("import.mdb"), kDatabasePassword) || !create_schema(db)) state.SkipWithError("no db");
    state.ResumeTiming();
    if (!insert_keys(db, kKeys)) state.SkipWithError("insert failed");
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_ImportCardKeys)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PickUnusedCardKey(benchmark::State& state) {
  DbRecordset rs;
  rs.attach(million_keys());
  for (auto _ : state) {
    bool ok = rs.open("select * from 卡密表 where 商品名ID=? and 是否已使用='否' order by ID limit 1", {db_int(1)});
    long long id = 0;
    if (!ok || !rs.read_int("ID", id) || id != kKeys / 10 + 1) state.SkipWithError("wrong pick");
    benchmark::DoNotOptimize(id);
  }
}
BENCHMARK(BM_PickUnusedCardKey)->Unit(benchmark::kMicrosecond);

// One page of 100 of the unused keys of the item, as the card-key page lists it.
void list_page_once(benchmark::State& state, int page, DbRecordset& rs) {
    rs.page_size(100);
    if (!rs.open_paged("select 卡密表.*from 商品名表,卡密表 where (商品名表.商品名称=? and 卡密表.是否已使用='否') "
                       "and 卡密表.商品名ID=商品名表.ID order by 卡密表.ID",
                       {db_text(kItem)}, "ID"))
      state.SkipWithError("open failed");
    int landed = rs.go_to_page(page);
    int pages = rs.page_count();
    long long first_id = 0;
    rs.read_int("ID", first_id);
    if (first_id != kKeys / 10 + 1 + (page - 1) * 100LL) state.SkipWithError("wrong first row");
    int rows = 0;
    std::string account, password;
    for (; rows < 100 && !rs.at_end(); ++rows, rs.move_next()) {
      rs.read_text("帐号", account);
      rs.read_text("密码", password);
    }
    if (rows != 100 || pages != 9000 || landed != page) state.SkipWithError("wrong page");
    benchmark::DoNotOptimize(landed);
    rs.close();
}

void list_page(benchmark::State& state, int page) {
  DbRecordset rs;
  rs.attach(million_keys());
  for (auto _ : state) list_page_once(state, page, rs);
}
// The first listing after the data changed (a delivery, an import) rebuilds the page index.
void BM_CardKeyPageLastAfterChange(benchmark::State& state) {
  DbRecordset rs;
  rs.attach(million_keys());
  for (auto _ : state) {
    state.PauseTiming();
    million_keys().execute("UPDATE 卡密表 SET 密码=密码 WHERE ID=1");
    state.ResumeTiming();
    list_page_once(state, 9000, rs);
  }
}
BENCHMARK(BM_CardKeyPageLastAfterChange)->Unit(benchmark::kMillisecond);

void BM_CardKeyPageFirst(benchmark::State& state) { list_page(state, 1); }
void BM_CardKeyPageMiddle(benchmark::State& state) { list_page(state, 4500); }
void BM_CardKeyPageLast(benchmark::State& state) { list_page(state, 9000); }
BENCHMARK(BM_CardKeyPageFirst)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardKeyPageMiddle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardKeyPageLast)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
