#include "drivesim/DefaultParameterTable.h"

#include <stdexcept>

namespace quendrel {

namespace {

// Twenty menus chosen so that every later feature has something to work on: read-only and bit
// parameters, 0-3 decimals, negative values, value-name lists, security levels 1-3, a Latin-1
// name, holes in the numbering (M05P04, M19P04), and the system parameters of menu 11.
// Quick setup: slot M00P0n shows the parameter named by the pointer M12P0n (two decimals, so
// 2.01 means M02P01); M12P1n holds the slot's name choice (0 default, 1 custom, value names
// editable), M12P2n its scale (three decimals). Slot M00P05 has a pointer only.
const char* const kTableHead = R"(# Simulated drive, software version 2.105
# MM.PP | name | PAD | value | access | value names
00.00 | Quick Setup      | 0000000000000000 | 0     | ro |
00.01 | Max Frequency    | 0000000000010010 | 6000  | rw |
00.02 | Accel Time       | 0000000000010001 | 50    | rw |
00.03 | Decel Time       | 0000000000010001 | 50    | rw |
00.04 | Rated Current    | 0000000000010001 | 124   | rw |
00.05 | Start Source     | 0000000000010000 | 0     | rw | Keypad;Terminal;Serial
01.00 | Speed Reference  | 0000000000000000 | 0     | ro |
01.01 | Max Frequency    | 0000000000010010 | 6000  | rw |
01.02 | Min Frequency    | 0000000000010010 | 0     | rw |
01.03 | Preset Speed 1   | 0000000000010001 | 100   | rw |
01.04 | Preset Speed 2   | 0000000000010001 | -250  | rw |
01.05 | Jog Speed        | 0000000000010001 | 50    | rw |
02.00 | Ramps            | 0000000000000000 | 0     | ro |
02.01 | Accel Time       | 0000000000010001 | 50    | rw |
02.02 | Decel Time       | 0000000000010001 | 50    | rw |
02.03 | Ramp Mode        | 0000000000010000 | 0     | rw | Linear;S-Curve;Fast Stop
02.04 | S-Curve Time     | 0000000000010010 | 25    | rw |
03.00 | Motor            | 0000000000000000 | 0     | ro |
03.01 | Rated Current    | 0000000000010001 | 124   | rw |
03.02 | Rated Voltage    | 0000000000010000 | 400   | rw |
03.03 | Rated Speed      | 0000000000010000 | 1450  | rw |
03.04 | Power Factor     | 0000000000010011 | 850   | rw |
03.05 | Motor Poles      | 0000000000010000 | 1     | rw | 2 Pole;4 Pole;6 Pole;8 Pole
04.00 | Control          | 0000000000000000 | 0     | ro |
04.01 | Control Mode     | 0000000000010000 | 0     | rw | V/Hz;Vector;Sensorless
04.02 | Start Source     | 0000000000010000 | 0     | rw | Keypad;Terminal;Serial
04.03 | Stop Mode        | 0000000000010000 | 0     | rw | Ramp;Coast;DC Brake
04.04 | Reverse Enable   | 0000000000010100 | 0     | rw | Off;On
04.05 | Auto Restart     | 0000000000010100 | 1     | rw |
05.00 | Digital Inputs   | 0000000000000000 | 0     | ro |
05.01 | DI1 Function     | 0000000000010000 | 1     | rw | None;Run Fwd;Run Rev;Preset 1;Fault Reset
05.02 | DI2 Function     | 0000000000010000 | 2     | rw | None;Run Fwd;Run Rev;Preset 1;Fault Reset
05.03 | DI3 Function     | 0000000000010000 | 0     | rw | None;Run Fwd;Run Rev;Preset 1;Fault Reset
05.05 | DI1 State        | 0000000000000100 | 0     | ro | Open;Closed
05.06 | DI2 State        | 0000000000000100 | 1     | ro | Open;Closed
06.00 | Analog Inputs    | 0000000000000000 | 0     | ro |
06.01 | AI1 Scale        | 0000000000010011 | 1000  | rw |
06.02 | AI1 Offset       | 0000000000010010 | -150  | rw |
06.03 | AI1 Filter       | 0000000000010000 | 20    | rw |
07.00 | Outputs          | 0000000000000000 | 0     | ro |
07.01 | Relay 1 Function | 0000000000010000 | 1     | rw | None;Running;Fault;At Speed
07.02 | AO1 Source       | 0000000000010000 | 0     | rw | Frequency;Current;Voltage
07.03 | AO1 Gain         | 0000000000010010 | 100   | rw |
08.00 | Protection       | 0000000000000000 | 0     | ro |
08.01 | Overload Level   | 0000000000010001 | 1500  | rw |
08.02 | Stall Prevention | 0000000000010100 | 1     | rw |
08.03 | Phase Loss Check | 0000000000110100 | 1     | rw |
09.00 | Braking          | 0000000000000000 | 0     | ro |
09.01 | DC Brake Current | 0000000000010001 | 300   | rw |
09.02 | DC Brake Time    | 0000000000010010 | 50    | rw |
10.00 | Status           | 0000000000000000 | 0     | ro |
10.01 | Output Frequency | 0000000000000010 | 0     | ro |
10.02 | Output Current   | 0000000000000001 | 0     | ro |
10.03 | DC Bus Voltage   | 0000000000000000 | 565   | ro |
10.04 | Heatsink Temp    | 0000000000000001 | 352   | ro |
10.05 | Running          | 0000000000000100 | 0     | ro |
10.06 | Faulted          | 0000000000000100 | 0     | ro |
11.00 | Drive Setup      | 0000000000000000 | 0     | ro |
11.01 | Drive Name       | 0000000000010000 | 0     | rw | Drive 1;Drive 2
11.23 | Serial Address   | 0000000000010000 | 1     | rw |
11.24 | Serial Baud Rate | 0000000000010000 | 1     | rw | 9600;19200;38400;57600
11.28 | Model Number     | 0000000000000000 | 2     | ro | QD-2004;QD-2007;QD-4007;QD-4015;QD-4022
11.29 | Software Version | 1000001000000011 | 2105  | ro |
11.30 | Access Code      | 0000000000010000 | 0     | rw |
11.39 | Firmware Upload  | 0000000001110000 | 0     | rw | Normal;Upload
12.00 | QS Configuration | 0000000000000000 | 0     | ro |
12.01 | QS1 Pointer      | 0000000000010010 | 101   | rw |
12.02 | QS2 Pointer      | 0000000000010010 | 201   | rw |
12.03 | QS3 Pointer      | 0000000000010010 | 202   | rw |
12.04 | QS4 Pointer      | 0000000000010010 | 301   | rw |
12.05 | QS5 Pointer      | 0000000000010010 | 402   | rw |
12.11 | QS1 Name         | 0000000000010000 | 0     | rw | (Default);(Custom);Speed Limit;Top Speed
12.12 | QS2 Name         | 0000000000010000 | 0     | rw | (Default);(Custom)
12.13 | QS3 Name         | 0000000000010000 | 1     | rw | (Default);Stop Ramp
12.14 | QS4 Name         | 0000000000010000 | 0     | rw | (Default);(Custom)
12.21 | QS1 Scale        | 0000000000010011 | 1000  | rw |
12.22 | QS2 Scale        | 0000000000010011 | 1000  | rw |
12.23 | QS3 Scale        | 0000000000010011 | 1000  | rw |
12.24 | QS4 Scale        | 0000000000010011 | 500   | rw |
13.00 | PID Control      | 0000000000000000 | 0     | ro |
13.01 | PID Enable       | 0000000000010100 | 0     | rw |
13.02 | Proportional Gain| 0000000000010010 | 150   | rw |
13.03 | Integral Time    | 0000000000010010 | 200   | rw |
13.04 | Derivative Time  | 0000000000010011 | 0     | rw |
13.05 | PID Setpoint     | 0000000000010001 | 500   | rw |
14.00 | Fault History    | 0000000000000000 | 0     | ro |
14.01 | Last Fault       | 0000000000000000 | 3     | ro | No Fault;Overcurrent;Overvoltage;Undervoltage;Overheat
14.02 | Previous Fault   | 0000000000000000 | 1     | ro | No Fault;Overcurrent;Overvoltage;Undervoltage;Overheat
15.00 | Counters         | 0000000000000000 | 0     | ro |
15.01 | Run Hours        | 0000000000000000 | 1234  | ro |
15.02 | Power-On Hours   | 0000000000000000 | 5678  | ro |
15.03 | Start Count      | 0000000000000000 | -1    | ro |
16.00 | Communications   | 0000000000000000 | 0     | ro |
16.01 | Comm Timeout     | 0000000000010001 | 20    | rw |
16.02 | Comm Loss Action | 0000000000010000 | 0     | rw | Ignore;Alarm;Fault;Stop
17.00 | Keypad           | 0000000000000000 | 0     | ro |
17.01 | Display Select   | 0000000000010000 | 0     | rw | Frequency;Current;Speed
)";

// Kept out of the raw literal so the byte stays 0xE7 whatever the source file's encoding.
const char* const kLatin1Line =
    "17.02 | Language         | 0000000000010000 | 0     | rw | English;Deutsch;Fran\xE7" "ais\n";

const char* const kTableTail = R"(18.00 | Service          | 0000000000000000 | 0     | ro |
18.01 | Service Gain     | 0000000000110010 | 100   | rw |
18.02 | Current Trim     | 0000000001010001 | 0     | rw |
18.03 | Factory Trim     | 0000000001110011 | 1000  | rw |
19.00 | Advanced         | 0000000000000000 | 0     | ro |
19.01 | Carrier Freq     | 0000000000010001 | 40    | rw |
19.02 | Dead Time Comp   | 0000000000010100 | 1     | rw |
19.03 | Slip Compensation| 0000000000010001 | -150  | rw |
19.05 | Min Voltage      | 0000000000010000 | -32768| rw |
19.06 | Max Voltage      | 0000000000010000 | 32767 | rw |
)";

}  // namespace

const std::string& DefaultParameterTableText() {
  static const std::string text = std::string(kTableHead) + kLatin1Line + kTableTail;
  return text;
}

ParameterTable DefaultParameterTable() {
  std::string error;
  auto table = ParameterTable::FromText(DefaultParameterTableText(), error);
  if (!table) throw std::logic_error("built-in parameter table: " + error);
  return std::move(*table);
}

}  // namespace quendrel
