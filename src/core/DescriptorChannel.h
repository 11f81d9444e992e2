#pragma once

// Moves open descriptors between descriptor tables, as a Unix socket passes them between
// processes: a thread with a table of its own sends one, closes its own copy, and another thread
// receives it into its table, the same open directory at the same position. Never blocks.
class DescriptorChannel {
public:
    DescriptorChannel();
    ~DescriptorChannel();
    DescriptorChannel(const DescriptorChannel&) = delete;
    DescriptorChannel& operator=(const DescriptorChannel&) = delete;

    // contract: false when the descriptor was not sent (no channel, too many in flight); the
    // caller's descriptor stays open either way.
    bool Send(int fd);

    // The oldest descriptor sent and not yet received, now in the caller's table; -1 when none
    // arrives (nothing in flight, or the caller's table is full).
    int Receive();

private:
    int ends_[2] = {-1, -1};
};
