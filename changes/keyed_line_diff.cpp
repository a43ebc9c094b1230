#include "changes/keyed_line_diff.h"

#include <map>
#include <set>

namespace quarn {
namespace {

// The lines of `from` that `other` does not hold as often, in order.
std::vector<const KeyedLine*> LinesNotIn(const std::vector<KeyedLine>& from,
                                         const std::vector<KeyedLine>& other) {
  std::map<std::string, size_t> left;
  for (const KeyedLine& entry : other) ++left[entry.line];
  std::vector<const KeyedLine*> extra;
  for (const KeyedLine& entry : from) {
    size_t& count = left[entry.line];
    if (count > 0) {
      --count;
    } else {
      extra.push_back(&entry);
    }
  }
  return extra;
}

}  // namespace

std::vector<ChangeFact> KeyedLineFacts(FactKind kind, const std::string& file,
                                       const std::vector<KeyedLine>& before,
                                       const std::vector<KeyedLine>& after) {
  const std::vector<const KeyedLine*> added = LinesNotIn(after, before);
  const std::vector<const KeyedLine*> deleted = LinesNotIn(before, after);
  std::set<std::string> added_keys, deleted_keys;
  for (const KeyedLine* entry : added) added_keys.insert(entry->key);
  for (const KeyedLine* entry : deleted) deleted_keys.insert(entry->key);
  std::vector<ChangeFact> facts;
  std::set<std::string> told;
  const auto tell = [&](const std::string& key, FactAction alone) {
    if (!told.insert(key).second) return;
    ChangeFact fact;
    fact.kind = kind;
    fact.file = file;
    fact.subject = key;
    fact.action = added_keys.count(key) != 0 && deleted_keys.count(key) != 0
                      ? FactAction::kChange
                      : alone;
    facts.push_back(fact);
  };
  for (const KeyedLine* entry : added) tell(entry->key, FactAction::kAdd);
  for (const KeyedLine* entry : deleted) tell(entry->key, FactAction::kDelete);
  return facts;
}

}  // namespace quarn
