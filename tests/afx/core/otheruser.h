// For tests of files a user may not write.
#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

// Works as a user other than the folders' owner. Root may write anywhere, so a test run as
// root takes the file-system rights of "nobody" meanwhile (setfsuid touches this thread only).
class OtherUser {
public:
    OtherUser()
    {
        if (geteuid() == 0)
            setfsuid(65534);
    }
    ~OtherUser()
    {
        if (geteuid() == 0)
            setfsuid(0);
    }
};
