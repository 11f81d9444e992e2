#include "DirThreading.h"

DirThreading& DirThreading::Shared() {
    static DirThreading shared;
    return shared;
}

bool DirThreading::Send(DirReader&) {
    return true;
}

void DirThreading::Receive(DirReader&) {}
