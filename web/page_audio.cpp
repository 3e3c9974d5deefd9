#include "web/page_audio.h"

#include <emscripten.h>

// Module.audioState() reports the game's audio context ("running",
// "suspended", ...; "none" before the game opens its audio) for the page and
// its tests.
EM_JS(void, ResumeAudioOnGestures, (), {
    function contexts() {
        var all = [];
        for (var id in AL.contexts) {
            if (AL.contexts[id] && AL.contexts[id].audioCtx) all.push(AL.contexts[id].audioCtx);
        }
        return all;
    }
    function resume() {
        contexts().forEach(function(context) {
            if (context.state === "running" || context.state === "closed") return;
            context.resume().catch(function() {});
        });
    }
    ["touchend", "pointerup", "click", "keydown"].forEach(function(type) {
        window.addEventListener(type, resume, {capture: true, passive: true});
    });
    Module["audioState"] = function() {
        var all = contexts();
        return all.length ? all[0].state : "none";
    };
});
