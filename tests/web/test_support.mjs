// What the browser tests share: their tally of checks and the decoding of
// a screenshot into RGBA bytes.

export class Tally {
  passed = 0;
  failures = [];

  check(condition, what) {
    if (condition) {
      this.passed += 1;
      console.log(`ok: ${what}`);
    } else {
      this.failures.push(what);
      console.log(`FAILED: ${what}`);
    }
  }

  fail(error) {
    this.failures.push(String(error));
    console.log(`FAILED: ${error}`);
  }

  // Prints the closing line and ends the process with the verdict.
  finish() {
    console.log(`browser tests: ${this.passed} passed, ${this.failures.length} failed`);
    process.exit(this.failures.length ? 1 : 0);
  }
}

// A PNG screenshot as { width, height, rgba }, decoded by the page itself.
export async function decodePng(page, png) {
  const [width, height, data] = await page.evaluate(async (base64) => {
    const image = new Image();
    image.src = "data:image/png;base64," + base64;
    await image.decode();
    const canvas = document.createElement("canvas");
    canvas.width = image.width;
    canvas.height = image.height;
    const context = canvas.getContext("2d");
    context.drawImage(image, 0, 0);
    const bytes = context.getImageData(0, 0, image.width, image.height).data;
    let text = "";
    for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return [image.width, image.height, btoa(text)];
  }, png.toString("base64"));
  return { width, height, rgba: new Uint8Array(Buffer.from(data, "base64")) };
}
