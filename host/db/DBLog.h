// The error entries of the database access library in the host debug log.
#pragma once

// An error entry in the host debug log, a line of its own:
// "file[line] -> text".
void log_error(const char* file, int line, const char* format, ...) __attribute__((format(printf, 3, 4)));
