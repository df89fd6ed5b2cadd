#include "eval/pv_line.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace fv {

namespace {

// A KPP weight: its view's king square, the view and the pair of feature
// indices (smaller first).
using WeightKey = std::tuple<int, int, int, int>;

// The terms of `pos` by the weight each reads, in the decomposition's pair order.
std::map<WeightKey, TermChange> TermsByWeight(const Position& pos, const EvaluationBreakdown& b,
                                              bool after) {
  const FeatureList list = BuildFeatureList(pos);
  std::map<WeightKey, TermChange> terms;
  std::size_t t = 0;
  for (int i = 0; i < list.size; ++i) {
    for (int j = 0; j <= i; ++j) {
      for (const Side view : {Sente, Gote}) {
        const FeatureEntry& a = list.entries[i];
        const FeatureEntry& c = list.entries[j];
        const int x = view == Sente ? a.senteIndex : a.goteIndex;
        const int y = view == Sente ? c.senteIndex : c.goteIndex;
        const FeatureContribution& term = b.terms[t++];
        TermChange change{term.kingLocation,
                          term.firstLocation,
                          term.secondLocation,
                          CellAt(pos, term.kingLocation),
                          CellAt(pos, term.firstLocation),
                          CellAt(pos, term.secondLocation),
                          0,
                          0};
        (after ? change.after : change.before) = term.value;
        terms[{term.kingLocation, view, std::min(x, y), std::max(x, y)}] = change;
      }
    }
  }
  return terms;
}

std::vector<TermChange> LargestChanges(const Position& searched, const EvaluationBreakdown& first,
                                       const Position& leaf, const EvaluationBreakdown& last,
                                       int count) {
  std::map<WeightKey, TermChange> terms = TermsByWeight(leaf, last, true);
  for (const auto& [key, change] : TermsByWeight(searched, first, false)) {
    const auto [it, inserted] = terms.insert({key, change});
    if (!inserted) it->second.before = change.before;
  }
  std::vector<TermChange> changes;
  for (const auto& [key, change] : terms) {
    if (change.after != change.before) changes.push_back(change);
  }
  auto size = [](const TermChange& c) { return std::abs(std::int64_t{c.after} - c.before); };
  std::stable_sort(changes.begin(), changes.end(),
                   [&](const TermChange& a, const TermChange& b) { return size(a) > size(b); });
  if (int(changes.size()) > count) changes.resize(std::size_t(std::max(count, 0)));
  return changes;
}

}  // namespace

PvLine ExplainLine(const std::vector<Position>& positions, const std::vector<PvMove>& moves,
                   const WeightFile& file, int changeCount) {
  PvLine line;
  const EvaluationBreakdown first = DecomposeEvaluation(positions.front(), file);
  EvaluationBreakdown last = first;
  line.points.push_back({0, "", first.total, first.material, first.kkpSum, first.kppSum});
  for (std::size_t i = 0; i < moves.size(); ++i) {
    last = DecomposeEvaluation(positions[i + 1], file);
    line.points.push_back(
        {int(i) + 1, moves[i].Line(), last.total, last.material, last.kkpSum, last.kppSum});
  }
  line.changes = LargestChanges(positions.front(), first, positions.back(), last, changeCount);
  return line;
}

}  // namespace fv
