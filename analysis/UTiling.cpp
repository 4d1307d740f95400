// Longest-first tiling of Article 2 by runs of Article 1, on token ids.
#include <algorithm>
#include <bit>
#include <limits>
#include <optional>
#include <queue>
#include <set>

#include "UAnywhere.h"
#include "UGramHash.h"

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

namespace {

// Grams of 4 to 8 tokens: shorter ones repeat too often in ordinary texts to pay off, and longer
// ones would find nothing more.
constexpr std::int32_t kShortestGram = 4;
constexpr std::int32_t kLongestGram = 8;

// Runs of Article 1 found by their first `gram` tokens: a hash table of every gram of Article 1
// with, per gram, its places in increasing order. A run of at least `gram` tokens starts with a
// gram of its own, so looking up Article 2's grams finds every place a long run can come from;
// places that only share the hash are weeded out by comparing tokens, so the answer stays exact.
class GramIndex {
 public:
  GramIndex(std::span<const std::uint32_t> tokens1, std::int32_t gram) {
    const auto n1 = static_cast<std::int32_t>(tokens1.size());
    if (n1 < gram) return;
    const std::int32_t grams = n1 - gram + 1;
    std::size_t capacity = 1024;
    while (capacity < static_cast<std::size_t>(grams) * 2) capacity <<= 1;
    slots_.assign(capacity, Slot{});
    shift_ = 64 - std::countr_zero(capacity);
    next_.assign(static_cast<std::size_t>(grams), kNone);
    // From the end backwards, so that each place is put in front of the later ones.
    const std::vector<std::uint64_t> hashes = GramHashes(tokens1, gram);
    for (std::int32_t p = grams; p-- > 0;) {
      if (p >= kAhead) Prefetch(hashes[static_cast<std::size_t>(p - kAhead)]);
      Slot& slot = SlotFor(hashes[static_cast<std::size_t>(p)]);
      next_[static_cast<std::size_t>(p)] = slot.head;
      slot.head = p;
    }
  }

  static constexpr std::int32_t kNone = -1;

  // The table is larger than the cache: look-ups a few places ahead are started early.
  static constexpr std::int32_t kAhead = 8;
  void Prefetch(std::uint64_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[FinishGramHash(hash) >> shift_]);
  }

  // First place of Article 1 whose gram has this hash (or shares the table's short form of it).
  std::int32_t First(std::uint64_t hash) const {
    if (slots_.empty()) return kNone;
    const std::uint64_t mixed = FinishGramHash(hash);
    const auto tag = static_cast<std::uint32_t>(mixed) | 1u;
    for (std::size_t slot = mixed >> shift_;; slot = (slot + 1) & (slots_.size() - 1)) {
      if (slots_[slot].tag == tag) return slots_[slot].head;
      if (slots_[slot].tag == 0) return kNone;
    }
  }
  std::int32_t Next(std::int32_t place) const { return next_[static_cast<std::size_t>(place)]; }

 private:
  struct Slot {
    std::uint32_t tag = 0;  // 0: empty
    std::int32_t head = kNone;
  };
  Slot& SlotFor(std::uint64_t hash) {
    const std::uint64_t mixed = FinishGramHash(hash);
    const auto tag = static_cast<std::uint32_t>(mixed) | 1u;
    for (std::size_t slot = mixed >> shift_;; slot = (slot + 1) & (slots_.size() - 1)) {
      if (slots_[slot].tag == tag) return slots_[slot];
      if (slots_[slot].tag == 0) {
        slots_[slot].tag = tag;
        return slots_[slot];
      }
    }
  }

  std::vector<Slot> slots_;
  std::vector<std::int32_t> next_;  // next place with the same short hash, or kNone
  int shift_ = 64;
};

// Tokens equal from these places on, counted up to `limit`.
std::int32_t CommonLength(std::span<const std::uint32_t> tokens1, std::int32_t p,
                          std::span<const std::uint32_t> tokens2, std::int32_t i,
                          std::int32_t limit) {
  const std::int32_t most =
      std::min<std::int32_t>({limit, static_cast<std::int32_t>(tokens1.size()) - p,
                              static_cast<std::int32_t>(tokens2.size()) - i});
  std::int32_t k = 0;
  while (k < most && tokens1[p + k] == tokens2[i + k]) ++k;
  return k;
}

// Longest-first choice of tiles from the longest run at every place of Article 2 (only runs of at
// least `minimum` tokens count); `source(place, length)` gives the first place in Article 1 of the
// run of `length` tokens at `place`.
template <typename Source>
std::vector<Tile> ChooseTiles(const std::vector<std::int32_t>& longest, std::int32_t minimum,
                              Source&& source) {
  std::vector<Tile> tiles;
  const auto n2 = static_cast<std::int32_t>(longest.size());
  // Candidates ordered by length, then by earlier place: (length << 32) | (max - place).
  const auto entry = [](std::int32_t len, std::int32_t place) {
    return (static_cast<std::uint64_t>(len) << 32) |
           (std::numeric_limits<std::uint32_t>::max() - static_cast<std::uint32_t>(place));
  };
  // A place whose previous place has a longer run can only become a tile once a tile ends right
  // before it: until then its neighbour's run is always longer and would cover it. It is queued
  // at that moment, which keeps the queue to the heads of the runs.
  const auto length = [&](std::int32_t i) { return longest[static_cast<std::size_t>(i)]; };
  std::vector<std::uint64_t> initial;
  for (std::int32_t i = 0; i < n2; ++i) {
    if (length(i) >= minimum && (i == 0 || length(i - 1) <= length(i))) {
      initial.push_back(entry(length(i), i));
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
    tiles.push_back(Tile{source(place, len), place, len});
    tileStarts.insert(place);
    std::fill(tiled.begin() + place, tiled.begin() + place + len, true);
    const std::int32_t next = place + len;
    if (next < n2 && !tiled[static_cast<std::size_t>(next)] && length(next) >= minimum) {
      queue.push(entry(length(next), next));
    }
  }
  std::sort(tiles.begin(), tiles.end(),
            [](const Tile& a, const Tile& b) { return a.Start2 < b.Start2; });
  return tiles;
}

std::vector<Tile> TileWithAutomaton(std::span<const std::uint32_t> tokens1,
                                    std::span<const std::uint32_t> tokens2, std::int32_t minimum) {
  const auto n2 = static_cast<std::int32_t>(tokens2.size());
  // Word and unit ids are small numbers; the id of a word missing from Article 2 is not.
  std::uint32_t rootTokens = 0;
  const auto cap = static_cast<std::uint32_t>(std::min<std::size_t>(
      4 * (tokens1.size() + tokens2.size()) + 16, std::numeric_limits<std::uint32_t>::max()));
  for (const auto tokens : {tokens1, tokens2}) {
    for (const std::uint32_t token : tokens) {
      if (token < cap) rootTokens = std::max(rootTokens, token + 1);
    }
  }
  ReversedSuffixAutomaton automaton(tokens1, rootTokens);

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
  return ChooseTiles(longest, minimum, [&](std::int32_t place, std::int32_t len) {
    return automaton.FirstStart(reached[static_cast<std::size_t>(place)], len);
  });
}

// The same tiling through the gram index; gives up (nullopt) once the places it has to look at
// exceed `budget`, which only highly repetitive articles reach.
std::optional<std::vector<Tile>> TileWithGrams(std::span<const std::uint32_t> tokens1,
                                               std::span<const std::uint32_t> tokens2,
                                               std::int32_t minimum, std::int64_t budget,
                                               const GramIndex* built = nullptr) {
  const std::int32_t gram = std::min(minimum, kLongestGram);
  const auto n2 = static_cast<std::int32_t>(tokens2.size());
  if (static_cast<std::int32_t>(tokens1.size()) < gram || n2 < gram) return std::vector<Tile>{};
  std::optional<GramIndex> own;
  if (built == nullptr) own.emplace(tokens1, gram);
  const GramIndex& index = built != nullptr ? *built : *own;
  std::vector<std::int32_t> longest(static_cast<std::size_t>(n2), 0);
  // The places of Article 1 tried at the previous place of Article 2 with their common lengths:
  // a place one further on the same diagonal has exactly one token less in common.
  std::vector<std::pair<std::int32_t, std::int32_t>> previous;
  std::vector<std::pair<std::int32_t, std::int32_t>> current;
  const std::vector<std::uint64_t> hashes2 = GramHashes(tokens2, gram);
  const auto grams2 = static_cast<std::int32_t>(hashes2.size());
  std::int64_t work = 0;
  for (std::int32_t i = 0; i < grams2; ++i) {
    if (i + GramIndex::kAhead < grams2) {
      index.Prefetch(hashes2[static_cast<std::size_t>(i + GramIndex::kAhead)]);
    }
    current.clear();
    std::int32_t best = 0;
    auto before = previous.begin();
    for (std::int32_t p = index.First(hashes2[static_cast<std::size_t>(i)]); p != GramIndex::kNone;
         p = index.Next(p)) {
      ++work;
      while (before != previous.end() && before->first < p - 1) ++before;
      std::int32_t common;
      if (before != previous.end() && before->first == p - 1 && before->second > 0) {
        common = before->second - 1;
      } else {
        common = CommonLength(tokens1, p, tokens2, i, std::numeric_limits<std::int32_t>::max());
        work += common;
      }
      // Checked at every place: one gram of a repetitive article can recur everywhere.
      if (work > budget) return std::nullopt;
      current.emplace_back(p, common);
      best = std::max(best, common);
    }
    longest[static_cast<std::size_t>(i)] = best >= gram ? best : 0;
    previous.swap(current);
  }
  std::vector<Tile> tiles =
      ChooseTiles(longest, minimum, [&](std::int32_t place, std::int32_t len) {
        if (work > budget) return GramIndex::kNone;  // the whole answer is thrown away below
        const std::uint64_t hash = hashes2[static_cast<std::size_t>(place)];
        for (std::int32_t p = index.First(hash); p != GramIndex::kNone; p = index.Next(p)) {
          const std::int32_t common = CommonLength(tokens1, p, tokens2, place, len);
          work += common + 1;
          if (common == len || work > budget) return p;
        }
        return GramIndex::kNone;  // not reached: the run was found at one of these places
      });
  if (work > budget) return std::nullopt;
  return tiles;
}

}  // namespace

std::vector<Tile> TileLongestFirst(std::span<const std::uint32_t> tokens1,
                                   std::span<const std::uint32_t> tokens2, std::int32_t minTokens,
                                   TilingIndex method) {
  if (tokens1.empty() || tokens2.empty()) return {};
  const std::int32_t minimum = std::max(minTokens, 1);
  switch (method) {
    case TilingIndex::Automaton:
      return TileWithAutomaton(tokens1, tokens2, minimum);
    case TilingIndex::Grams:
      return *TileWithGrams(tokens1, tokens2, minimum, std::numeric_limits<std::int64_t>::max());
    case TilingIndex::Automatic:
      break;
  }
  return TilingSource(tokens1, minimum).TileArticle2(tokens2);
}

struct TilingSource::Impl {
  std::span<const std::uint32_t> tokens1;
  std::int32_t minimum;
  std::optional<GramIndex> grams;
};

TilingSource::TilingSource(std::span<const std::uint32_t> tokens1, std::int32_t minTokens)
    : impl_(std::make_unique<Impl>(Impl{tokens1, std::max(minTokens, 1), std::nullopt})) {
  const std::int32_t gram = std::min(impl_->minimum, kLongestGram);
  if (impl_->minimum >= kShortestGram && static_cast<std::int32_t>(tokens1.size()) >= gram) {
    impl_->grams.emplace(tokens1, gram);
  }
}

TilingSource::TilingSource(TilingSource&&) noexcept = default;
TilingSource& TilingSource::operator=(TilingSource&&) noexcept = default;
TilingSource::~TilingSource() = default;

std::vector<Tile> TilingSource::TileArticle2(std::span<const std::uint32_t> tokens2) const {
  const std::span<const std::uint32_t> tokens1 = impl_->tokens1;
  const std::int32_t minimum = impl_->minimum;
  if (tokens1.empty() || tokens2.empty()) return {};
  // Short grams repeat too often to be worth it; on repetitive articles the gram index stops
  // after a few times the work of a plain text and the automaton, linear in any case, takes over.
  if (minimum >= kShortestGram) {
    const std::int64_t budget = 8 * static_cast<std::int64_t>(tokens1.size() + tokens2.size());
    const GramIndex* built = impl_->grams ? &*impl_->grams : nullptr;
    if (auto tiles = TileWithGrams(tokens1, tokens2, minimum, budget, built)) {
      return std::move(*tiles);
    }
  }
  return TileWithAutomaton(tokens1, tokens2, minimum);
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
