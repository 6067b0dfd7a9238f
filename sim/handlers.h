// The commands that do more than store a setting. The command table names them row by row.
#pragma once

#include "call.h"

namespace zpv::sim {

// Stored settings
void StoredSetting(Call& call);
void OutputState(Call& call);  // a stored setting that also starts and stops the output

// IEEE 488.2 common commands and the error queue
void Identify(Call& call);
void ResetInstrument(Call& call);
void OperationComplete(Call& call);
void SelfTest(Call& call);
void ClearStatus(Call& call);
void EventStatusRegister(Call& call);
void EventStatusEnable(Call& call);
void StatusByte(Call& call);
void ServiceRequestEnable(Call& call);
void Wait(Call& call);
void NextError(Call& call);

// Output protection, live measurements and logged results (arg: a Quantity)
void ClearProtection(Call& call);
void ProtectionState(Call& call);
void MeasureAll(Call& call);
void MeasureQuantity(Call& call);
void MeasureState(Call& call);
void MeasureDwellTime(Call& call);
void MeasureRunCount(Call& call);
void MeasureSequence(Call& call);
void ResultAll(Call& call);
void ResultQuantity(Call& call);
void ResultTotal(Call& call);

// List program sequences
void SequenceAdd(Call& call);
void SequenceEdit(Call& call);
void SequenceCopy(Call& call);
void SequenceDelete(Call& call);
void SequenceTotal(Call& call);

// Setting files (arg: the Mode whose store is addressed)
void FileCopy(Call& call);
void FileAdd(Call& call);
void FileEdit(Call& call);
void FileLoad(Call& call);
void FileDelete(Call& call);
void FileNames(Call& call);
void FileTotal(Call& call);
void FileIndex(Call& call);

// Simulator-only controls
void SimDelay(Call& call);
void SimDrop(Call& call);
void SimGarbage(Call& call);
void SimOversize(Call& call);
void SimMute(Call& call);
void SimLoadImpedance(Call& call);
void SimLoadPowerFactor(Call& call);
// A definite-length block of N bytes ("SIM:BLOCK? N"): letters, or with row argument
// kBinaryBlock every byte value in turn.
inline constexpr int kBinaryBlock = 1;
void SimBlock(Call& call);
void SimEventStatus(Call& call);

}  // namespace zpv::sim
