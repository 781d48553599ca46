#pragma once
// The 74-byte preset record: an EqBlock filled from the editor's values for
// saving, or read back from a ".bin" file.
#include "eq/EqBand.h"
#include "eq/EqBlock.h"

#include <QString>

namespace qireq {

inline constexpr int kPresetLengthOffset = 4;
inline constexpr int kPresetCommandOffset = 5;

// Header, fixed unit-setting bytes and trailer as every saved preset carries them.
EqBlock NewSavingRecord();
// Only the trailer set: a short file leaves the rest as zeros.
EqBlock NewLoadRecord();

// Writes trim, bypass and the five band records of the editor into the record.
// The off byte is the flag the editor shows: the unit's while connected.
void FillSavingRecord(EqBlock& record, const EqState& eq, bool connected);

// Bytes 0 and 5 are a preset's only signature.
bool HasPresetSignature(const EqBlock& record);

// The name a preset is saved under: ".bin" appended unless the chosen name
// already ends in exactly ".bin" (so "eq.BIN" becomes "eq.BIN.bin").
QString PresetFileName(const QString& chosen);

}  // namespace qireq
