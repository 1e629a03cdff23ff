// KvHttpServerLimits: how long a server lets each client hold one of its workers.
#pragma once

struct KvHttpServerLimits {
    // Connection workers, each serving one client at a time.
    int workers = 75;
    // Wait for each receive, and the time limit of each send to a client.
    int receiveWaitMs = 60000;
    // A whole request head (from the end of the previous answer, or from accepting)
    // must arrive within this, however slowly it trickles in.
    int headTimeoutMs = 60000;
    // While clients wait for a worker, a connection that has waited longer than this
    // for its next request head is closed to make room.
    int busyIdleMs = 2000;
    // A connection whose last request began longer ago than this is closed.
    int idleLimitSeconds = 1800;
};
