#include "player/tempo_table.h"

namespace kestrel {

std::optional<double> TempoFactorOfRow(int row) {
  if (row < 0 || row >= static_cast<int>(kTempoTable.size())) return std::nullopt;
  return kTempoTable[static_cast<std::size_t>(row)].factor;
}

std::optional<int> TempoRowOfPercent(int percent) {
  for (std::size_t row = 0; row < kTempoTable.size(); ++row) {
    if (kTempoTable[row].percent == percent) return static_cast<int>(row);
  }
  return std::nullopt;
}

}  // namespace kestrel
