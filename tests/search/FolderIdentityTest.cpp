#include <gtest/gtest.h>

#include "search/FolderIdentity.h"
#include "support/FolderLink.h"
#include "support/ScratchFolder.h"

TEST(FolderIdentity, SameFolderWhateverThePathThatReachesIt) {
    scratch::ScratchFolder files("qf-identity");
    files.MakeFolder("a\\b");
    const FolderIdentity plain = IdentityOfFolder(files.Path("a"));
    ASSERT_TRUE(plain.Known);
    EXPECT_TRUE(SameFolder(plain, IdentityOfFolder(files.Path("a") + "\\")));
    EXPECT_TRUE(SameFolder(plain, IdentityOfFolder(files.Path("a\\b\\.."))));
    EXPECT_FALSE(SameFolder(plain, IdentityOfFolder(files.Path("a\\b"))));
    EXPECT_FALSE(SameFolder(plain, IdentityOfFolder(files.Root())));
    if (MakeFolderLink(files.Path("link"), files.Path("a"))) {
        EXPECT_TRUE(SameFolder(plain, IdentityOfFolder(files.Path("link"))));
    }
}

TEST(FolderIdentity, UnknownForWhatIsNoFolder) {
    scratch::ScratchFolder files("qf-identity");
    files.WriteFile("file.txt", "x");
    EXPECT_FALSE(IdentityOfFolder(files.Path("file.txt")).Known);
    EXPECT_FALSE(IdentityOfFolder(files.Path("missing")).Known);
    EXPECT_FALSE(IdentityOfFolder("").Known);
    const FolderIdentity unknown;
    EXPECT_FALSE(SameFolder(unknown, unknown)) << "two unknown folders are never the same";
}
