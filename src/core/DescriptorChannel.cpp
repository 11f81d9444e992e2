#include "DescriptorChannel.h"

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <unistd.h>

namespace {

// One byte of data (a datagram may not be empty) and room for one descriptor beside it.
struct OneDescriptorMessage {
    OneDescriptorMessage() {
        Header.msg_iov = &Data;
        Header.msg_iovlen = 1;
        Header.msg_control = Control;
        Header.msg_controllen = sizeof Control;
    }
    OneDescriptorMessage(const OneDescriptorMessage&) = delete; // Header points into itself
    OneDescriptorMessage& operator=(const OneDescriptorMessage&) = delete;

    char Byte = 0;
    iovec Data{&Byte, 1};
    alignas(cmsghdr) char Control[CMSG_SPACE(sizeof(int))] = {};
    msghdr Header{};
};

} // namespace

DescriptorChannel::DescriptorChannel() {
    // Datagrams keep one descriptor per message, in order.
    if (socketpair(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0, ends_) != 0)
        ends_[0] = ends_[1] = -1;
}

DescriptorChannel::~DescriptorChannel() {
    // Descriptors still in flight are closed with the socket.
    for (int end : ends_) {
        if (end >= 0)
            close(end);
    }
}

bool DescriptorChannel::Send(int fd) {
    if (ends_[0] < 0 || fd < 0)
        return false;
    OneDescriptorMessage message;
    cmsghdr* header = CMSG_FIRSTHDR(&message.Header);
    header->cmsg_level = SOL_SOCKET;
    header->cmsg_type = SCM_RIGHTS;
    header->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(header), &fd, sizeof(int));
    ssize_t sent;
    do {
        sent = sendmsg(ends_[0], &message.Header, MSG_DONTWAIT | MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent == 1;
}

int DescriptorChannel::Receive() {
    if (ends_[1] < 0)
        return -1;
    OneDescriptorMessage message;
    ssize_t received;
    do {
        received = recvmsg(ends_[1], &message.Header, MSG_DONTWAIT | MSG_CMSG_CLOEXEC);
    } while (received < 0 && errno == EINTR);
    if (received != 1 || (message.Header.msg_flags & MSG_CTRUNC) != 0)
        return -1;
    const cmsghdr* header = CMSG_FIRSTHDR(&message.Header);
    if (header == nullptr || header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS ||
        header->cmsg_len != CMSG_LEN(sizeof(int)))
        return -1;
    int fd;
    std::memcpy(&fd, CMSG_DATA(header), sizeof(int));
    return fd;
}
