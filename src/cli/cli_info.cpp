#include "cli/cli_info.h"

#include "model/memory_map.h"
#include "text/gtex.h"

namespace cli {
namespace {

std::string Caption(int line) { return gGTex->Line("GI_Cli_CloneInfo_Captions", line); }

// The radio may report a model or battery row the overlay has no text for;
// the number is shown then rather than stopping the program.
std::string LineOr(const std::string& key, int line, const std::string& fallback) {
  std::string text;
  return gGTex->TryLine(key, line, &text) ? text : fallback;
}

std::string Printable(std::string text) {
  for (char& c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 32 || u > 126) c = ' ';
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

std::vector<std::string> InformationLines(const cmcRadioInfo& info) {
  std::vector<std::string> lines;
  const int model = info.ModelType();
  lines.push_back(Caption(0) + ": " + LineOr("GI_AppInd_Model", model, std::to_string(model)));
  lines.push_back(Caption(1) + ": " + std::to_string(info.RevisionMajor()) + "." +
                  std::to_string(info.RevisionMinor()));
  lines.push_back(Caption(2) + ": " + Printable(info.Comment()));
  const char* batteryKey =
      memmap::InGroupS(model) ? "GI_Sheet_Info_Batt_Suv_Cells" : "GI_Sheet_Info_Batt_Cells";
  lines.push_back(Caption(3) + ": " +
                  LineOr(batteryKey, info.BatteryRow(), std::to_string(info.BatteryRow())));
  if (info.DcVoltage()) {
    lines.push_back(Caption(4) + ": " + LineOr("GI_Mess_CloneInfo_DCV", 0, "DCV"));
  }
  if (info.OverVoltage()) {
    lines.push_back(Caption(4) + ": " + LineOr("GI_Mess_CloneInfo_OverVolt", 0, "OverVolt"));
  }
  if (info.OverTemperature()) {
    std::string text = LineOr("GI_Mess_CloneInfo_OverTemp", 0, "OverTemp");
    std::string second;
    if (gGTex->TryLine("GI_Mess_CloneInfo_OverTemp", 1, &second) && !second.empty() &&
        second[0] != '#') {
      text += " " + second;
    }
    lines.push_back(Caption(4) + ": " + text);
  }
  return lines;
}

}  // namespace cli
