#pragma once
// The twenty playback speeds, shared by the player and the player option page.

#include <array>
#include <optional>

namespace kestrel {

struct TempoRow {
  int percent;
  const char* listText;
  const char* statusText;
  double factor;
};

inline constexpr int kDefaultTempoRow = 5;  // 100%

inline constexpr std::array<TempoRow, 20> kTempoTable = {{
    {5, "5% (Very Slow)", "Tempo : 5%", 0.05},
    {10, "10%", "Tempo : 10%", 0.1},
    {25, "25%", "Tempo : 25%", 0.25},
    {50, "50% (Half Tempo)", "Tempo : 50%", 0.5},
    {75, "75%", "Tempo : 75%", 0.75},
    {100, "100% (Default)", "Tempo : 100%", 1.0},
    {125, "125%", "Tempo : 125%", 1.25},
    {150, "150%", "Tempo : 150%", 1.5},
    {175, "175%", "Tempo : 175%", 1.75},
    {200, "200% (Double Tempo)", "Tempo : 200%", 2.0},
    {250, "250%", "Tempo : 250%", 2.5},
    {300, "300%", "Tempo : 300%", 3.0},
    {350, "350%", "Tempo : 350%", 3.5},
    {400, "400%", "Tempo : 400%", 4.0},
    {500, "500%", "Tempo : 500%", 5.0},
    {600, "600%", "Tempo : 600%", 6.0},
    {700, "700%", "Tempo : 700%", 7.0},
    {800, "800%", "Tempo : 800%", 8.0},
    {900, "900%", "Tempo : 900%", 9.0},
    {1000, "1000% (Good Luck!)", "Tempo : 1000%", 10.0},
}};

// The factor of a row; nullopt for a row outside the table (the factor then stays as it is).
std::optional<double> TempoFactorOfRow(int row);
// The row of a percentage in the table, or nullopt.
std::optional<int> TempoRowOfPercent(int percent);

}  // namespace kestrel
