// Longest-first tiling of Article 2 by runs of Article 1, on token ids.
#include <algorithm>
#include <limits>
#include <queue>
#include <set>

#include "UAnywhere.h"

namespace vellora {
namespace {

// Suffix automaton of Article 1 read backwards: a run of Article 2 read backwards from its last
// token walks the automaton, so matching Article 2 backwards gives, for every place, the longest
// run that starts there and occurs in Article 1. Each state also knows the first place in
// Article 1 where its runs start.
class ReversedSuffixAutomaton {
 public:
  // Tokens below rootTokens find the root's transitions in a plain array.
  ReversedSuffixAutomaton(std::span<const std::uint32_t> tokens, std::uint32_t rootTokens)
      : rootTargets_(rootTokens, kNone) {
    const std::size_t n = tokens.size();
    // Only the transitions past a state's first land in the table, a fraction of the at most 3n;
    // it starts small, which keeps it in cache, and doubles when half full.
    std::size_t capacity = 1024;
    while (capacity < n / 2) capacity <<= 1;
    slots_.assign(capacity, Slot{});
    mask_ = capacity - 1;
    states_.reserve(2 * n + 2);
    states_.push_back(State{});
    std::int32_t last = 0;
    for (std::size_t p = n; p-- > 0;) last = Extend(last, tokens[p], static_cast<std::int32_t>(p));
    PropagateFirstStarts();
  }

  static constexpr std::int32_t kNone = -1;

  std::int32_t Next(std::int32_t state, std::uint32_t token) const {
    // Walks fall back to the root all the time; its transitions stay in cache this way.
    if (state == 0 && token < rootTargets_.size()) return rootTargets_[token];
    // Most states have a single transition, kept in the state itself.
    const State& s = states_[static_cast<std::size_t>(state)];
    if (s.inlineTarget == kNone) return kNone;
    if (s.inlineToken == token) return s.inlineTarget;
    if (!s.spilled) return kNone;
    const std::uint64_t key = Key(state, token);
    for (std::size_t slot = Hash(key) & mask_;; slot = (slot + 1) & mask_) {
      if (slots_[slot].key == key) return slots_[slot].target;
      if (slots_[slot].key == kEmpty) return kNone;
    }
  }
  std::int32_t Link(std::int32_t state) const { return states_[state].link; }
  std::int32_t Length(std::int32_t state) const { return states_[state].length; }

  // First place in Article 1 of the run of `length` tokens that `state` reached (its shortest
  // suffixes read backwards live in the states up the suffix links).
  std::int32_t FirstStart(std::int32_t state, std::int32_t length) {
    std::int32_t steps = 0;
    while (Length(Link(state)) >= length) {
      if (++steps > 32) return FirstStart(Lifted(state, length), length);
      state = Link(state);
    }
    return states_[state].firstStart;
  }

 private:
  struct State {
    std::int32_t length = 0;
    std::int32_t link = kNone;
    std::int32_t firstStart = std::numeric_limits<std::int32_t>::max();
    std::int32_t firstEdge = kNone;
    std::int32_t inlineTarget = kNone;  // the first transition, or kNone without any
    std::uint32_t inlineToken = 0;
    bool spilled = false;  // further transitions live in the table
  };
  struct Edge {
    std::uint32_t token;
    std::int32_t next;
  };
  static constexpr std::uint64_t kEmpty = std::numeric_limits<std::uint64_t>::max();

  static std::uint64_t Key(std::int32_t state, std::uint32_t token) {
    return (static_cast<std::uint64_t>(state) << 32) | token;
  }
  static std::size_t Hash(std::uint64_t key) {
    const std::uint64_t h = key * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(h ^ (h >> 29));
  }

  void Set(std::int32_t state, std::uint32_t token, std::int32_t target) {
    if (state == 0 && token < rootTargets_.size()) {
      if (rootTargets_[token] == kNone) AddEdge(state, token);
      rootTargets_[token] = target;
      return;
    }
    State& s = states_[static_cast<std::size_t>(state)];
    if (s.inlineTarget == kNone) {
      s.inlineToken = token;
      s.inlineTarget = target;
      AddEdge(state, token);
      return;
    }
    if (s.inlineToken == token) {
      s.inlineTarget = target;
      return;
    }
    s.spilled = true;
    const std::uint64_t key = Key(state, token);
    for (std::size_t slot = Hash(key) & mask_;; slot = (slot + 1) & mask_) {
      if (slots_[slot].key == key) {
        slots_[slot].target = target;
        return;
      }
      if (slots_[slot].key == kEmpty) {
        if ((used_ + 1) * 2 > slots_.size()) {
          Grow();
          Set(state, token, target);
          return;
        }
        ++used_;
        slots_[slot].key = key;
        slots_[slot].target = target;
        AddEdge(state, token);
        return;
      }
    }
  }

  void Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    mask_ = slots_.size() - 1;
    for (const Slot& entry : old) {
      if (entry.key == kEmpty) continue;
      std::size_t slot = Hash(entry.key) & mask_;
      while (slots_[slot].key != kEmpty) slot = (slot + 1) & mask_;
      slots_[slot] = entry;
    }
  }

  void AddEdge(std::int32_t state, std::uint32_t token) {
    edges_.push_back(Edge{token, states_[state].firstEdge});
    states_[state].firstEdge = static_cast<std::int32_t>(edges_.size() - 1);
  }

  std::int32_t NewState(std::int32_t length, std::int32_t link, std::int32_t firstStart) {
    states_.push_back(State{length, link, firstStart, kNone, kNone, 0, false});
    return static_cast<std::int32_t>(states_.size() - 1);
  }

  std::int32_t Extend(std::int32_t last, std::uint32_t token, std::int32_t place) {
    const std::int32_t cur = NewState(Length(last) + 1, kNone, place);
    std::int32_t x = last;
    while (x != kNone && Next(x, token) == kNone) {
      Set(x, token, cur);
      x = Link(x);
    }
    if (x == kNone) {
      states_[cur].link = 0;
      return cur;
    }
    const std::int32_t q = Next(x, token);
    if (Length(x) + 1 == Length(q)) {
      states_[cur].link = q;
      return cur;
    }
    const std::int32_t clone =
        NewState(Length(x) + 1, Link(q), std::numeric_limits<std::int32_t>::max());
    for (std::int32_t e = states_[q].firstEdge; e != kNone; e = edges_[e].next) {
      Set(clone, edges_[e].token, Next(q, edges_[e].token));
    }
    while (x != kNone && Next(x, token) == q) {
      Set(x, token, clone);
      x = Link(x);
    }
    states_[q].link = clone;
    states_[cur].link = clone;
    return cur;
  }

  // A state's runs occur wherever the runs of the states linking to it occur.
  void PropagateFirstStarts() {
    std::vector<std::int32_t> order(states_.size());
    std::vector<std::int32_t> count(static_cast<std::size_t>(Length(LongestState())) + 2, 0);
    for (const State& s : states_) ++count[static_cast<std::size_t>(s.length) + 1];
    for (std::size_t i = 1; i < count.size(); ++i) count[i] += count[i - 1];
    for (std::size_t v = 0; v < states_.size(); ++v) {
      order[static_cast<std::size_t>(count[static_cast<std::size_t>(states_[v].length)]++)] =
          static_cast<std::int32_t>(v);
    }
    for (std::size_t i = order.size(); i-- > 1;) {
      const State& s = states_[order[i]];
      State& parent = states_[s.link];
      parent.firstStart = std::min(parent.firstStart, s.firstStart);
    }
  }
  std::int32_t LongestState() const {
    std::int32_t best = 0;
    for (std::size_t v = 0; v < states_.size(); ++v) {
      if (states_[v].length > states_[best].length) best = static_cast<std::int32_t>(v);
    }
    return best;
  }

  // Ancestor jumps, built on the first long climb only: on ordinary texts the climbs are short.
  std::int32_t Lifted(std::int32_t state, std::int32_t length) {
    if (up_.empty()) {
      up_.emplace_back(states_.size());
      for (std::size_t v = 0; v < states_.size(); ++v) {
        up_[0][v] = v == 0 ? 0 : states_[v].link;
      }
      for (std::size_t k = 1; (std::size_t{1} << k) < states_.size(); ++k) {
        up_.emplace_back(states_.size());
        for (std::size_t v = 0; v < states_.size(); ++v) up_[k][v] = up_[k - 1][up_[k - 1][v]];
      }
    }
    for (std::size_t k = up_.size(); k-- > 0;) {
      if (Length(up_[k][state]) >= length) state = up_[k][state];
    }
    return state;
  }

  std::vector<State> states_;
  std::vector<Edge> edges_;
  // A transition's key and target side by side: a look-up touches one cache line.
  struct Slot {
    std::uint64_t key = kEmpty;
    std::int32_t target = 0;
  };
  std::vector<Slot> slots_;
  std::vector<std::int32_t> rootTargets_;
  std::size_t mask_ = 0;
  std::size_t used_ = 0;
  std::vector<std::vector<std::int32_t>> up_;
};

}  // namespace

struct TilingIndex::Impl {
  ReversedSuffixAutomaton automaton;
  std::size_t count1;
};

// Word and unit ids are small numbers; the id of a word missing from the other article is not.
// Tokens of Article 2 above Article 1's are in no transition, so Article 1's decide the array.
TilingIndex::TilingIndex(std::span<const std::uint32_t> tokens1) {
  std::uint32_t rootTokens = 0;
  const auto cap = static_cast<std::uint32_t>(
      std::min<std::size_t>(4 * tokens1.size() + 16, std::numeric_limits<std::uint32_t>::max()));
  for (const std::uint32_t token : tokens1) {
    if (token < cap) rootTokens = std::max(rootTokens, token + 1);
  }
  impl_ =
      std::make_unique<Impl>(Impl{ReversedSuffixAutomaton(tokens1, rootTokens), tokens1.size()});
}

TilingIndex::TilingIndex(TilingIndex&&) noexcept = default;
TilingIndex& TilingIndex::operator=(TilingIndex&&) noexcept = default;
TilingIndex::~TilingIndex() = default;

std::vector<Tile> TileLongestFirst(std::span<const std::uint32_t> tokens1,
                                   std::span<const std::uint32_t> tokens2, std::int32_t minTokens) {
  if (tokens1.empty() || tokens2.empty()) return {};
  return TilingIndex(tokens1).TileArticle2(tokens2, minTokens);
}

std::vector<Tile> TilingIndex::TileArticle2(std::span<const std::uint32_t> tokens2,
                                            std::int32_t minTokens) {
  std::vector<Tile> tiles;
  const auto n2 = static_cast<std::int32_t>(tokens2.size());
  if (impl_->count1 == 0 || n2 == 0) return tiles;
  const std::int32_t minimum = std::max(minTokens, 1);
  ReversedSuffixAutomaton& automaton = impl_->automaton;

  // Longest run of Article 1 starting at every place of Article 2, and the state it reached.
  std::vector<std::int32_t> longest(static_cast<std::size_t>(n2));
  std::vector<std::int32_t> reached(static_cast<std::size_t>(n2));
  std::int32_t state = 0;
  std::int32_t length = 0;
  for (std::int32_t i = n2; i-- > 0;) {
    const std::uint32_t token = tokens2[static_cast<std::size_t>(i)];
    while (state != 0 && automaton.Next(state, token) == ReversedSuffixAutomaton::kNone) {
      state = automaton.Link(state);
      length = automaton.Length(state);
    }
    const std::int32_t next = automaton.Next(state, token);
    if (next == ReversedSuffixAutomaton::kNone) {
      state = 0;
      length = 0;
    } else {
      state = next;
      ++length;
    }
    longest[static_cast<std::size_t>(i)] = length;
    reached[static_cast<std::size_t>(i)] = state;
  }

  // Candidates ordered by length, then by earlier place: (length << 32) | (max - place).
  const auto entry = [](std::int32_t len, std::int32_t place) {
    return (static_cast<std::uint64_t>(len) << 32) |
           (std::numeric_limits<std::uint32_t>::max() - static_cast<std::uint32_t>(place));
  };
  std::vector<std::uint64_t> initial;
  for (std::int32_t i = 0; i < n2; ++i) {
    if (longest[static_cast<std::size_t>(i)] >= minimum) {
      initial.push_back(entry(longest[static_cast<std::size_t>(i)], i));
    }
  }
  std::priority_queue<std::uint64_t> queue(std::less<std::uint64_t>(), std::move(initial));
  std::vector<bool> tiled(static_cast<std::size_t>(n2), false);
  std::set<std::int32_t> tileStarts;
  while (!queue.empty()) {
    const std::uint64_t top = queue.top();
    queue.pop();
    const auto len = static_cast<std::int32_t>(top >> 32);
    const auto place = static_cast<std::int32_t>(std::numeric_limits<std::uint32_t>::max() -
                                                 static_cast<std::uint32_t>(top));
    if (tiled[static_cast<std::size_t>(place)]) continue;
    // A tile placed since this candidate was queued may cut it short.
    std::int32_t available = len;
    const auto after = tileStarts.lower_bound(place);
    if (after != tileStarts.end()) available = std::min(available, *after - place);
    if (available < len) {
      if (available >= minimum) queue.push(entry(available, place));
      continue;
    }
    const std::int32_t start1 = automaton.FirstStart(reached[static_cast<std::size_t>(place)], len);
    tiles.push_back(Tile{start1, place, len});
    tileStarts.insert(place);
    std::fill(tiled.begin() + place, tiled.begin() + place + len, true);
  }
  std::sort(tiles.begin(), tiles.end(),
            [](const Tile& a, const Tile& b) { return a.Start2 < b.Start2; });
  return tiles;
}

std::vector<std::size_t> GroupTiles(const std::vector<Tile>& tiles, std::int32_t gap) {
  std::vector<std::size_t> firsts;
  const std::int32_t allowed = std::max(gap, 0);
  for (std::size_t t = 0; t < tiles.size(); ++t) {
    if (t > 0) {
      const Tile& before = tiles[t - 1];
      const std::int64_t gap1 = std::int64_t{tiles[t].Start1} - (before.Start1 + before.Length);
      const std::int64_t gap2 = std::int64_t{tiles[t].Start2} - (before.Start2 + before.Length);
      if (gap1 >= 0 && gap1 <= allowed && gap2 >= 0 && gap2 <= allowed) continue;
    }
    firsts.push_back(t);
  }
  return firsts;
}

}  // namespace vellora
