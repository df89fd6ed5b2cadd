#include "eval/location_label.h"

#include <cstdio>

#include "shogi/position.h"

namespace fv {

LocationText LocationLabel(int location, int content) {
  LocationText label;
  char* out = label.text.data();
  const std::size_t room = label.text.size();
  if (location >= 0 && location < SquareCount) {
    const int magnitude = content < 0 ? -content : content;
    const std::string_view name = magnitude == 0                ? std::string_view{}
                                  : magnitude <= PieceKindCount ? PieceNames[magnitude - 1]
                                                                : std::string_view{"??"};
    std::snprintf(out, room, "%c%d%d%.*s", content < 0 ? '-' : '+', FileOf(location),
                  RankOf(location), int(name.size()), name.data());
  } else if (location >= SenteHandLocation && location < LocationCount) {
    const bool sente = location < GoteHandLocation;
    const std::string_view name =
        PieceNames[location - (sente ? SenteHandLocation : GoteHandLocation)];
    std::snprintf(out, room, "%c%.*s*", sente ? '+' : '-', int(name.size()), name.data());
  } else {
    std::snprintf(out, room, "?");
  }
  return label;
}

std::string TermLabel(const Position& leaf, const FeatureContribution& term) {
  std::string text;
  for (const int location : {term.kingLocation, term.firstLocation, term.secondLocation}) {
    if (!text.empty()) text += '-';
    ((text += '[') += LocationLabel(location, CellAt(leaf, location)).view()) += ']';
  }
  return text;
}

}  // namespace fv
