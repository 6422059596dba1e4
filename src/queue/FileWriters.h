#pragma once

#include <QString>

// Whether a process of this machine holds a file open for writing. The kernel answers through a
// read lease (refused while anyone has the file open for writing); where the station may not take
// a lease on the file (another user's file) the open files of every process it can see are
// looked at instead. Writers on other machines (a network file system) are invisible to both:
// for those only the settle time of the queue folder helps.
enum class FileWriters {
    None,    // nobody here has it open for writing
    Writing, // a process here has it open for writing
    Unknown, // it cannot be told (no such file, or neither way works here)
};

FileWriters WritersOf(const QString &path);

// A lease break is announced with SIGIO, whose default action ends the process: the station
// ignores it (it holds a lease only for the moment of the question). Called once at start-up.
void IgnoreLeaseBreaks();
