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
    // A request body must arrive within this, counted from the end of its head.
    int bodyTimeoutMs = 60000;
    // While clients wait for a worker, a connection that has waited longer than this for
    // a request head, or has been reading a request body longer than this, is closed to
    // make room; so is a kept-alive connection older than this between two requests.
    int busyIdleMs = 2000;
    // Body bytes a processor left unread are dropped up to this many; past it, and for
    // bodies with a transfer coding, the connection closes instead.
    int maxDrainBytes = 256 * 1024;
    // A connection whose last request began longer ago than this is closed.
    int idleLimitSeconds = 1800;
};
