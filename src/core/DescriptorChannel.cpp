#include "DescriptorChannel.h"

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <unistd.h>

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
    char byte = 0;
    iovec data{&byte, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = SOL_SOCKET;
    header->cmsg_type = SCM_RIGHTS;
    header->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(header), &fd, sizeof(int));
    ssize_t sent;
    do {
        sent = sendmsg(ends_[0], &message, MSG_DONTWAIT | MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent == 1;
}

int DescriptorChannel::Receive() {
    if (ends_[1] < 0)
        return -1;
    char byte = 0;
    iovec data{&byte, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    ssize_t received;
    do {
        received = recvmsg(ends_[1], &message, MSG_DONTWAIT | MSG_CMSG_CLOEXEC);
    } while (received < 0 && errno == EINTR);
    if (received != 1 || (message.msg_flags & MSG_CTRUNC) != 0)
        return -1;
    const cmsghdr* header = CMSG_FIRSTHDR(&message);
    if (header == nullptr || header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS ||
        header->cmsg_len != CMSG_LEN(sizeof(int)))
        return -1;
    int fd;
    std::memcpy(&fd, CMSG_DATA(header), sizeof(int));
    return fd;
}
