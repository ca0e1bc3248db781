// The mount-table reader on tables captured from machines with local disks,
// NFS and SMB shares, SSHFS and other FUSE mounts, and bind mounts.

#include "services/MountTable.h"

#include <QTest>

using namespace quillbay;

namespace {

// /proc/self/mountinfo of a desktop with a USB stick whose label has a space,
// two network shares, an SSHFS mount, the document portal, an NTFS disk and
// a bind mount of a folder of the home.
const char *const kCaptured =
    "22 28 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
    "28 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
    "30 28 259:3 / /home rw,relatime shared:30 - ext4 /dev/nvme0n1p3 rw\n"
    "98 30 8:17 / /media/ann/MY\\040STICK rw,nosuid,nodev,relatime shared:55 - vfat /dev/sdb1 rw,shortname=mixed\n"
    "101 30 0:61 / /home/ann/nas rw,relatime shared:60 - nfs4 nas.local:/volume1/photos rw,vers=4.2\n"
    "102 28 0:62 / /mnt/office rw,relatime shared:61 - cifs //server/share rw,vers=3.1.1\n"
    "103 30 0:63 / /home/ann/remote rw,nosuid,nodev,relatime shared:62 - fuse.sshfs ann@host.example:/srv rw\n"
    "104 30 0:64 / /run/user/1000/doc rw,nosuid,nodev,relatime shared:63 - fuse.portal portal rw\n"
    "105 28 8:33 / /mnt/windows rw,relatime shared:64 - fuseblk /dev/sdc1 rw\n"
    "106 30 0:65 / /home/ann/cloud rw,nosuid,nodev,relatime shared:65 - fuse.rclone gdrive: rw\n"
    "107 30 259:3 /ann/Pictures /srv/pictures rw,relatime shared:30 - ext4 /dev/nvme0n1p3 rw\n"
    "this line is not a mount\n";

std::optional<std::pair<unsigned, unsigned>> device(unsigned major, unsigned minor)
{
    return std::make_pair(major, minor);
}

} // namespace

class MountTableTest : public QObject
{
    Q_OBJECT

private slots:
    void parsesTheCapturedTable()
    {
        const QList<MountEntry> table = parseMountInfo(kCaptured);
        QCOMPARE(table.size(), 11);
        QCOMPARE(table[3].mountPoint, QStringLiteral("/media/ann/MY STICK"));
        QCOMPARE(table[3].type, QStringLiteral("vfat"));
        QCOMPARE(table[3].major, 8u);
        QCOMPARE(table[3].minor, 17u);
        QCOMPARE(table[4].source, QStringLiteral("nas.local:/volume1/photos"));
    }

    void mountOfAFolder_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<QString>("mountPoint");
        QTest::addColumn<bool>("network");
        QTest::newRow("root disk") << "/usr/share" << 259 << 2 << "/" << false;
        QTest::newRow("home") << "/home/ann/Pictures" << 259 << 3 << "/home" << false;
        QTest::newRow("stick with a space") << "/media/ann/MY STICK/DCIM" << 8 << 17 << "/media/ann/MY STICK" << false;
        QTest::newRow("NFS share") << "/home/ann/nas/2024" << 0 << 61 << "/home/ann/nas" << true;
        QTest::newRow("next to the share") << "/home/ann/nas2" << 259 << 3 << "/home" << false;
        QTest::newRow("SMB share") << "/mnt/office/Reports" << 0 << 62 << "/mnt/office" << true;
        QTest::newRow("SSHFS") << "/home/ann/remote/x" << 0 << 63 << "/home/ann/remote" << true;
        QTest::newRow("rclone remote") << "/home/ann/cloud" << 0 << 65 << "/home/ann/cloud" << true;
        QTest::newRow("document portal") << "/run/user/1000/doc/abc" << 0 << 64 << "/run/user/1000/doc" << false;
        QTest::newRow("NTFS disk") << "/mnt/windows/Users" << 8 << 33 << "/mnt/windows" << false;
        QTest::newRow("bind mount") << "/srv/pictures/2024" << 259 << 3 << "/srv/pictures" << false;
        // A device the table does not list: the longest mount point decides.
        QTest::newRow("unknown device") << "/home/ann/nas/x" << 7 << 7 << "/home/ann/nas" << true;
    }
    void mountOfAFolder()
    {
        QFETCH(QString, path);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(QString, mountPoint);
        QFETCH(bool, network);
        const std::optional<MountEntry> mount =
            mountOf(parseMountInfo(kCaptured), path, device(unsigned(major), unsigned(minor)));
        QVERIFY(mount);
        QCOMPARE(mount->mountPoint, mountPoint);
        QCOMPARE(isNetworkFileSystem(*mount), network);
    }

    void wholeComponents_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("below");
        QTest::newRow("itself") << "/usr"
                                << "/usr" << true;
        QTest::newRow("below") << "/usr/lib"
                               << "/usr" << true;
        QTest::newRow("longer name") << "/usr2"
                                     << "/usr" << false;
        QTest::newRow("root holds all") << "/anything"
                                        << "/" << true;
        QTest::newRow("relative") << "usr/lib"
                                  << "/usr" << false;
    }
    void wholeComponents()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(bool, below);
        QCOMPARE(pathIsAtOrBelow(path, folder), below);
    }

    void unreadableTableIsNoNetwork()
    {
        QVERIFY(!folderIsOnNetwork(QStringLiteral("/"), QStringLiteral("/nonexistent/mountinfo")));
    }
};

QTEST_GUILESS_MAIN(MountTableTest)
#include "tst_mounttable.moc"
