#pragma once
// The batch's progress line on standard error.

#include "cli_platform.h"

#include <QElapsedTimer>
#include <QString>

namespace brevant {

// The batch's progress line: "120/5000 records, 85.3/s, 0:57 left" after `seconds`.
QString ProgressText(int done, int total, double seconds);

// The batch's progress on standard error, redrawn at most ten times a second.
class ProgressLine {
public:
    ProgressLine() { clock_.start(); }
    ~ProgressLine() { ShowStatusLine(QString()); }

    void Update(int done, int total)
    {
        if (done <= shown_ || total <= 0)
            return;
        const qint64 now = clock_.elapsed();
        if (done < total && drawnAt_ >= 0 && now - drawnAt_ < 100)
            return;
        shown_ = done;
        drawnAt_ = now;
        ShowStatusLine(ProgressText(done, total, double(now) / 1000.0));
    }

private:
    QElapsedTimer clock_;
    qint64 drawnAt_ = -1;
    int shown_ = 0;
};

} // namespace brevant
