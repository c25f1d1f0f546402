// SPDX-License-Identifier: GPL-3.0-or-later
// The cells of the clone information dialog: what the radio reported about
// itself in its last information reply.
#include "model/cell_names.h"
#include "model/command_target.h"
#include "model/evaluator_internal.h"
#include "model/memory_map.h"
#include "model/radio_info_text.h"
#include "text/gtex.h"

namespace evaluator {

namespace {

// Payload bytes of the information reply.
constexpr int kRevision = 1;
constexpr int kComment = 3;
constexpr int kStatus = 19;
constexpr int kBattery = 20;
constexpr int kModel = 21;

}  // namespace

bool InformationCell(Run& run) {
  if (run.id < CL_CloneInfo_Model || run.id > CL_CloneInfo_OverTemp) return false;
  const auto info = run.target.RadioInformation();
  const int status = info[kStatus];
  std::string& text = run.cap.outputText;
  switch (run.id) {
    case CL_CloneInfo_Model: text = radioinfo::ModelText(info[kModel]); break;
    case CL_CloneInfo_Revision: text = radioinfo::RevisionText(info[kRevision]); break;
    case CL_CloneInfo_Comment: text = radioinfo::CommentText(&info[kComment]); break;
    case CL_CloneInfo_BattType: {
      const char* key = memmap::InGroupS(info[kModel]) ? "GI_Sheet_Info_Batt_Suv_Cells"
                                                       : "GI_Sheet_Info_Batt_Cells";
      text = gGTex->Line(key, (info[kBattery] >> 1) & 1);
      break;
    }
    case CL_CloneInfo_OverDCV:
      text = (status & 0x08) ? gGTex->Block("GI_Mess_CloneInfo_DCV") : std::string();
      break;
    case CL_CloneInfo_OverVolt:
      text = (status & 0x10) ? gGTex->Block("GI_Mess_CloneInfo_OverVolt") : std::string();
      break;
    case CL_CloneInfo_OverTemp:
      text = (status & 0x06) ? gGTex->Line("GI_Mess_CloneInfo_OverTemp", 0) + "\n" +
                                   gGTex->Line("GI_Mess_CloneInfo_OverTemp", 1)
                             : std::string();
      break;
    default: return false;
  }
  return true;
}

}  // namespace evaluator
