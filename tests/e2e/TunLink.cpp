// SPDX-License-Identifier: GPL-3.0-or-later
#include "TunLink.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/if.h>
#include <linux/if_tun.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

TunLink::TunLink(const char *namePattern)
{
    if (geteuid() != 0) {
        problem_ = QStringLiteral("needs root to make a TUN interface");
        return;
    }
    fd_ = ::open("/dev/net/tun", O_RDWR | O_CLOEXEC);
    if (fd_ < 0) {
        problem_ = QStringLiteral("cannot open /dev/net/tun: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    ifreq request = {};
    request.ifr_flags = IFF_TUN | IFF_NO_PI;
    std::strncpy(request.ifr_name, namePattern, IFNAMSIZ - 1);
    if (::ioctl(fd_, TUNSETIFF, &request) != 0) {
        problem_ = QStringLiteral("cannot make a TUN interface: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        ::close(fd_);
        fd_ = -1;
        return;
    }
    name_ = QString::fromLatin1(request.ifr_name);
}

TunLink::~TunLink()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool TunLink::setUp(bool up)
{
    const int sock = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (sock < 0)
        return false;
    ifreq request = {};
    std::strncpy(request.ifr_name, name_.toLatin1().constData(), IFNAMSIZ - 1);
    bool ok = ::ioctl(sock, SIOCGIFFLAGS, &request) == 0;
    if (ok) {
        request.ifr_flags = static_cast<short>(up ? (request.ifr_flags | IFF_UP) : (request.ifr_flags & ~IFF_UP));
        ok = ::ioctl(sock, SIOCSIFFLAGS, &request) == 0;
    }
    ::close(sock);
    return ok;
}
