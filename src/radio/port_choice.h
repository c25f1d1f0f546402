// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Choosing the COM port: reading the number the user typed or picked, and
// the two lists the port dialog offers (plain numbers, and numbers with the
// device's friendly name). The rules here are pure functions over texts and
// numbers; port_choice_system.cpp gathers the ports actually present.

#include <string>
#include <vector>

namespace portchoice {

constexpr int kMinPort = 1;
constexpr int kMaxPort = 256;

inline bool IsValidPort(int n) { return n >= kMinPort && n <= kMaxPort; }

// Modes 0 and 1: the trimmed text as a decimal number; 0 when the text is
// not a number, so that it is refused like any other number out of range.
int ParseTypedNumber(const std::string& text);

// Mode 2: the number an entry of the list stands for. "COM7" reads from its
// fourth character, "7: friendly name" from the start; the leading digits
// count, 0 when there are none.
int ParseListedNumber(const std::string& text);

// What OK reads from the dialog's entry in mode 0, 1 or 2; the dialog takes
// it when IsValidPort, else shows GI_AppInd_Opt_ComSel_OutofRange.
inline int ChosenPort(int mode, const std::string& entryText) {
  return mode == 2 ? ParseListedNumber(entryText) : ParseTypedNumber(entryText);
}

// The number of a device name such as "COM3": only its digits, point and
// minus sign are kept and read as a number rounded to the nearest integer
// (0 when nothing readable is left).
int NumberFromDeviceName(const std::string& name);

// Decimal texts of the numbers, ascending, each once.
std::vector<std::string> NumberList(std::vector<int> numbers);

// A port device as the system describes it.
struct PortDevice {
  std::string portName;      // "COM3"
  std::string friendlyName;  // "Zelm USB-to-Serial Comm. Port (COM3)"
};

// "n: friendly name" for every device with a friendly name whose port name
// begins with "COM" and whose number is present; ordered by n (COM10 after
// COM9).
std::vector<std::string> NameList(const std::vector<PortDevice>& devices,
                                  const std::vector<int>& presentNumbers);

// The index of the entry of list that stands for port, or -1.
int IndexOfPort(const std::vector<std::string>& list, int port);

// From the system (port_choice_system.cpp):
// numbers of the ports whose device is present, ascending;
std::vector<int> PresentPortNumbers();
// the present devices with their friendly names ("manufacturer description").
std::vector<PortDevice> PresentPortDevices();
// Whether two paths name the same device, also through symbolic links
// (a `Ports` entry under /dev/serial/by-id and the node it points to).
bool SameDevice(const std::string& a, const std::string& b);
// The mode 1 and mode 2 lists as the dialog shows them.
std::vector<std::string> SystemNumberList();
std::vector<std::string> SystemNameList();

}  // namespace portchoice
