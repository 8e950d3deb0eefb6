#pragma once
// The close-time writing of the three databases as one call, for tests and
// benchmarks: TryWriteProgress, and the process ends when a file could not
// be written (EndUnlessWritten), as at the program's close.
#include "data/ProgressDb.h"

inline void WriteProgress(const TextTable& toiSeikaiTable, const TextTable& saveLoadTable, NanwidoValue nanwido,
                          bool writeSeikai, bool writeSaveLoad, bool writeNanwido)
{
    EndUnlessWritten(TryWriteProgress(toiSeikaiTable, saveLoadTable, nanwido, writeSeikai, writeSaveLoad, writeNanwido));
}

inline void WriteProgress(const ProgressData& data)
{
    WriteProgress(data.ToiSeikaiTable, data.SaveLoadTable, data.Nanwido, data.writeSeikai, data.writeSaveLoad,
                  data.writeNanwido);
}
