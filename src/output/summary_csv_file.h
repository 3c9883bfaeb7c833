#pragma once
// The summary file "BEP.csv" being written: CP932 text with CR LF line ends, replacing
// any earlier file only when it is complete.

#include "atomic_file.h"

#include <QString>

namespace brevant {

class Platform;

class SummaryCsvFile {
public:
    explicit SummaryCsvFile(const QString& path, AtomicFile::Sync sync = AtomicFile::Sync::Yes);

    // Opens the file for writing; shows 30009 and returns false when it cannot.
    bool Open(Platform& platform);
    // Writes `text`, whose "\n" line ends become CR LF.
    void Write(const QString& text);
    // Puts the finished file in place; shows 30009 and returns false when that fails
    // (the earlier file, if any, is left as it was).
    bool Commit(Platform& platform);

private:
    AtomicFile file_;
};

} // namespace brevant
