#include "web/page_record_store.h"

#include <emscripten.h>

EM_JS(void, InstallRecordStore, (), {
    var store = {running : false, again : false, unstored : false};
    function copyOut() {
        if (store.running) {
            store.again = true;
            return;
        }
        store.running = true;
        store.unstored = false;
        FS.syncfs(false, function(error) {
            store.running = false;
            if (error) {
                store.unstored = true;
                console.warn("Sol Brim: the record could not be stored (" + ((error && error.message) || error) +
                             "); it is tried again at the next save");
            }
            if (store.again) {
                store.again = false;
                copyOut();
            }
        });
    }
    function catchUp() {
        if (store.unstored) copyOut();
    }
    Module["solbrimStoreRecord"] = function() {
        store.unstored = true;
        copyOut();
    };
    document.addEventListener("visibilitychange", function() {
        if (document.visibilityState === "hidden") catchUp();
    });
    window.addEventListener("pagehide", catchUp);
});

void StoreRecordFolder() {
    EM_ASM({ Module["solbrimStoreRecord"](); });
}
