/* Links the web engine's two libraries and nothing of Quillora, so that dpkg-shlibdeps can name
 * the packages that provide them even when the runtime loads them at run time instead of
 * linking them. Never installed, never run. */
#include <jsc/jsc.h>
#include <webkit2/webkit2.h>

int main(void)
{
    return (int)(webkit_get_major_version() + jsc_get_major_version());
}
