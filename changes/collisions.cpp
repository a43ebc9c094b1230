#include "changes/collisions.h"

#include <map>

#include "changes/content_facts.h"
#include "text/ascii.h"

namespace quarn {
namespace {

bool Collides(const ChangeFact& fact) {
  if (fact.kind == FactKind::kFolder) return false;
  return fact.kind != FactKind::kFile || !HasEntryFacts(fact.file);
}

// The same thing for the game, whichever mod names it: file names and
// archive entries in any letter case.
std::string ThingKey(const ChangeFact& fact) {
  const bool any_case =
      fact.kind == FactKind::kFile || fact.kind == FactKind::kArchiveEntry;
  return std::to_string(static_cast<int>(fact.kind)) + '\n' +
         ToUpperAscii(fact.file) + '\n' +
         (any_case ? ToUpperAscii(fact.subject) : fact.subject);
}

// The label of the last set that changes each thing, by key.
std::map<std::string, std::string> Winners(
    const std::vector<ModChangeSet>& sets) {
  std::map<std::string, std::string> winners;
  for (const ModChangeSet& set : sets) {
    for (const ChangeFact& fact : set.facts) {
      if (Collides(fact)) winners[ThingKey(fact)] = ModSetLabel(set);
    }
  }
  return winners;
}

bool SameGame(const std::string& a, const std::string& b) {
  return ToUpperAscii(WithTrailingBackslash(a)) ==
         ToUpperAscii(WithTrailingBackslash(b));
}

}  // namespace

std::vector<Collision> RunCollisions(const std::vector<ModChangeSet>& sets) {
  const std::map<std::string, std::string> winners = Winners(sets);
  struct Earlier {
    const ChangeFact* fact;
    std::string mod;
  };
  std::map<std::string, Earlier> latest;
  std::vector<Collision> collisions;
  for (const ModChangeSet& set : sets) {
    const std::string label = ModSetLabel(set);
    std::map<std::string, Earlier> mine;
    for (const ChangeFact& fact : set.facts) {
      if (!Collides(fact)) continue;
      const std::string key = ThingKey(fact);
      const auto before = latest.find(key);
      if (before != latest.end() && mine.count(key) == 0) {
        Collision collision;
        collision.earlier = *before->second.fact;
        collision.earlier_mod = before->second.mod;
        collision.later = fact;
        collision.later_mod = label;
        collision.winner = winners.at(key);
        collisions.push_back(collision);
      }
      mine.emplace(key, Earlier{&fact, label});
    }
    for (auto& thing : mine) latest[thing.first] = thing.second;
  }
  return collisions;
}

std::vector<Collision> InstalledCollisions(
    const std::vector<ModChangeSet>& sets, const std::string& game,
    const std::vector<JournalEntry>& installed) {
  std::map<std::string, std::pair<const ChangeFact*, const JournalEntry*>>
      newest;
  for (const JournalEntry& entry : installed) {
    for (const ChangeFact& fact : entry.changes) {
      if (Collides(fact)) newest[ThingKey(fact)] = {&fact, &entry};
    }
  }
  const std::map<std::string, std::string> winners = Winners(sets);
  std::vector<Collision> collisions;
  std::map<std::string, bool> told;
  for (const ModChangeSet& set : sets) {
    if (!SameGame(set.game, game)) continue;
    for (const ChangeFact& fact : set.facts) {
      if (!Collides(fact)) continue;
      const std::string key = ThingKey(fact);
      const auto before = newest.find(key);
      if (before == newest.end() || told[key]) continue;
      told[key] = true;
      Collision collision;
      collision.earlier = *before->second.first;
      collision.earlier_mod = EntryModLabel(*before->second.second);
      collision.installed = before->second.second->started;
      collision.journal_entry = before->second.second->number;
      collision.later = fact;
      collision.later_mod = ModSetLabel(set);
      collision.winner = winners.at(key);
      collisions.push_back(collision);
    }
  }
  return collisions;
}

std::string CollisionLine(const Collision& collision) {
  std::string earlier = collision.earlier_mod;
  if (!collision.installed.empty()) {
    earlier += ", installed " + collision.installed + ",";
  }
  return collision.later_mod + " " + FactActionPresent(collision.later.action) +
         " " + FactThing(collision.later) + ", which " + earlier + " " +
         FactActionPast(collision.earlier.action) + "; " + collision.winner +
         " wins";
}

}  // namespace quarn
