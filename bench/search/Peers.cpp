#include "Peers.h"

#include <marisa.h>
#include <sqlite3.h>

#include <algorithm>
#include <stdexcept>

namespace tessaline::bench {
namespace {

constexpr char kSeparator = '\x7F';  // after the key sequence in a trie key; keys stay below it

void Check(int status, sqlite3* db, const char* what) {
  if (status != SQLITE_OK && status != SQLITE_DONE && status != SQLITE_ROW) {
    throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
  }
}

struct Scored {
  int score;
  uint32_t index;
  size_t id;
};

bool Better(const Scored& a, const Scored& b) {
  return a.score != b.score ? a.score > b.score : a.index < b.index;
}

}  // namespace

SqlitePeer::SqlitePeer(const std::vector<WordRecord>& records) {
  const sqlite3_int64 before = sqlite3_memory_used();
  Check(sqlite3_open(":memory:", &db_), db_, "open");
  Check(sqlite3_exec(db_,
                     "CREATE TABLE words(keys BLOB, word TEXT, freq INTEGER, len INTEGER,"
                     " idx INTEGER);",
                     nullptr, nullptr, nullptr),
        db_, "create");
  Check(sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr), db_, "begin");
  sqlite3_stmt* insert = nullptr;
  Check(sqlite3_prepare_v2(db_, "INSERT INTO words VALUES(?1, ?2, ?3, ?4, ?5)", -1, &insert,
                           nullptr),
        db_, "prepare insert");
  for (const WordRecord& r : records) {
    sqlite3_bind_blob(insert, 1, r.keys.data(), static_cast<int>(r.keys.size()), SQLITE_STATIC);
    sqlite3_bind_text(insert, 2, r.utf8.data(), static_cast<int>(r.utf8.size()), SQLITE_STATIC);
    sqlite3_bind_int(insert, 3, r.frequency);
    sqlite3_bind_int(insert, 4, r.length);
    sqlite3_bind_int(insert, 5, static_cast<int>(r.index));
    Check(sqlite3_step(insert), db_, "insert");
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  Check(sqlite3_exec(db_, "COMMIT; CREATE INDEX by_keys ON words(keys);", nullptr, nullptr,
                     nullptr),
        db_, "index");
  Check(sqlite3_prepare_v2(db_,
                           "SELECT word FROM words WHERE keys >= ?1 AND keys < ?2"
                           " AND (?3 > 1 OR len = 1)"
                           " ORDER BY freq + CASE WHEN len = ?3 THEN 127 ELSE 0 END DESC, idx"
                           " LIMIT 7",
                           -1, &query_, nullptr),
        db_, "prepare query");
  memory_ = static_cast<size_t>(sqlite3_memory_used() - before);
}

SqlitePeer::~SqlitePeer() {
  sqlite3_finalize(query_);
  sqlite3_close(db_);
}

void SqlitePeer::Lookup(const std::vector<int8_t>& keys, size_t n,
                        std::vector<std::string>& words) {
  words.clear();
  char low[64], high[64];
  for (size_t i = 0; i < n; ++i) low[i] = high[i] = static_cast<char>(keys[i]);
  high[n - 1] = static_cast<char>(high[n - 1] + 1);
  sqlite3_bind_blob(query_, 1, low, static_cast<int>(n), SQLITE_STATIC);
  sqlite3_bind_blob(query_, 2, high, static_cast<int>(n), SQLITE_STATIC);
  sqlite3_bind_int(query_, 3, static_cast<int>(n));
  while (sqlite3_step(query_) == SQLITE_ROW) {
    words.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(query_, 0)),
                       static_cast<size_t>(sqlite3_column_bytes(query_, 0)));
  }
  sqlite3_reset(query_);
}

size_t SqlitePeer::MemoryBytes() const { return memory_; }

MarisaPeer::MarisaPeer(const std::vector<WordRecord>& records) : trie_(new marisa::Trie) {
  marisa::Keyset keyset;
  std::vector<std::string> keys;
  keys.reserve(records.size());
  for (const WordRecord& r : records) {
    keys.push_back(r.keys + kSeparator + r.utf8);
    keyset.push_back(keys.back().data(), keys.back().size());
  }
  trie_->build(keyset);
  frequency_.resize(trie_->num_keys());
  length_.resize(trie_->num_keys());
  index_.resize(trie_->num_keys());
  for (size_t i = 0; i < keyset.size(); ++i) {
    const size_t id = keyset[i].id();
    frequency_[id] = records[i].frequency;
    length_[id] = records[i].length;
    index_[id] = records[i].index;
  }
}

MarisaPeer::~MarisaPeer() = default;

void MarisaPeer::Lookup(const std::vector<int8_t>& keys, size_t n,
                        std::vector<std::string>& words) {
  words.clear();
  const std::string prefix(keys.begin(), keys.begin() + static_cast<ptrdiff_t>(n));
  marisa::Agent agent;
  agent.set_query(prefix.data(), prefix.size());
  std::vector<Scored> found;
  while (trie_->predictive_search(agent)) {
    const size_t id = agent.key().id();
    const int length = length_[id];
    if (n == 1 && length != 1) continue;
    found.push_back({frequency_[id] + (static_cast<size_t>(length) == n ? 127 : 0), index_[id], id});
  }
  const size_t take = std::min<size_t>(7, found.size());
  std::partial_sort(found.begin(), found.begin() + static_cast<ptrdiff_t>(take), found.end(),
                    Better);
  for (size_t i = 0; i < take; ++i) {
    agent.set_query(found[i].id);
    trie_->reverse_lookup(agent);
    const std::string key(agent.key().ptr(), agent.key().length());
    words.push_back(key.substr(key.find(kSeparator) + 1));
  }
}

size_t MarisaPeer::MemoryBytes() const {
  return trie_->total_size() + frequency_.size() + length_.size() +
         index_.size() * sizeof(uint32_t);
}

}  // namespace tessaline::bench
